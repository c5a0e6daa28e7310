// TFormBookmark: the bookmark window, made at start-up with its controls; the reader offers no bookmarks yet,
// so it is never shown.
#pragma once

#include <QWidget>

class QGroupBox;
class QLineEdit;
class QListWidget;
class QToolButton;

namespace elumira {

class TFormBookmark : public QWidget
{
    Q_OBJECT
public:
    explicit TFormBookmark(QWidget *parent = nullptr);

    QGroupBox *GroupBox1 = nullptr;
    QLineEdit *edBookmark = nullptr;
    QToolButton *btnAdd = nullptr;
    QToolButton *btnDelete = nullptr;
    QListWidget *lbBookmark = nullptr;
};

} // namespace elumira
