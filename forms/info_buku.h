// TFormInfoBuku: the bibliographic data of an open book and its ready-made bibliography entries in six styles,
// each saved as an HTML file.
#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

#include <array>
#include <functional>

class QLabel;
class QPushButton;
class QToolButton;

namespace elumira {

class Dialogs;
class OpenBooks;

class TFormInfoBuku : public QWidget
{
    Q_OBJECT
public:
    // Asks where to save an entry; an empty name means the member cancelled.
    using SaveDialogRunner = std::function<QString()>;
    using FileOpener = std::function<void(const QUrl &)>;

    TFormInfoBuku(const OpenBooks &books, Dialogs &dialogs, QWidget *parent = nullptr);

    // The book to show: the tab sheet that was active when the member pressed the info button.
    void setBookSheet(QWidget *sheet) { m_sheet = sheet; }
    // Shows the window for a book; a window already open only comes to the front.
    void showFor(QWidget *sheet);

    void setSaveDialog(SaveDialogRunner runner) { m_saveDialog = std::move(runner); }
    void setFileOpener(FileOpener opener) { m_openFile = std::move(opener); }

    void FormShow();
    void btnClick(int style);
    void btnCloseClick() { close(); }

    // The entry a style button saves: a name without an extension gets ".html".
    static QString withHtmlSuffix(const QString &fileName);

    QWidget *panelTitle = nullptr;
    QToolButton *btnClose = nullptr;
    QLabel *panelJudul = nullptr;
    QLabel *panelPenulis = nullptr;
    QLabel *panelPenerbit = nullptr;
    QLabel *panelISBN = nullptr;
    QLabel *panelTahun = nullptr;
    QLabel *panelKategori = nullptr;
    QPushButton *btnMLA = nullptr;
    QPushButton *btnCHG = nullptr;
    QPushButton *btnTRB = nullptr;
    QPushButton *btnAPA = nullptr;
    QPushButton *btnHRV = nullptr;
    QPushButton *btnIEE = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::array<QPushButton *, 6> styleButtons() const { return {btnMLA, btnCHG, btnTRB, btnAPA, btnHRV, btnIEE}; }

    const OpenBooks &m_books;
    Dialogs &m_dialogs;
    QWidget *m_sheet = nullptr;
    std::array<QString, 6> m_entries;
    SaveDialogRunner m_saveDialog;
    FileOpener m_openFile;
};

} // namespace elumira
