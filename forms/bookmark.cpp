// The bookmark window's layout: a "Tambah Bookmark" group with an edit and two glyph buttons over a list.
#include "forms/bookmark.h"

#include "resources/program_resources.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace elumira {

namespace {

QToolButton *glyphButton(QWidget *parent, const char *name, char16_t glyph, const char *hint)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setFont(iconFont(14));
    button->setText(QString(QChar(glyph)));
    button->setToolTip(QString::fromUtf8(hint));
    button->setAccessibleName(QString::fromUtf8(hint));
    button->setFixedSize(28, 28);
    return button;
}

} // namespace

TFormBookmark::TFormBookmark(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("FormBookmark"));
    setWindowTitle(QStringLiteral("Bookmark"));
    resize(320, 400);
    auto *layout = new QVBoxLayout(this);
    GroupBox1 = new QGroupBox(QStringLiteral("Tambah Bookmark"), this);
    auto *row = new QHBoxLayout(GroupBox1);
    edBookmark = new QLineEdit(GroupBox1);
    edBookmark->setObjectName(QStringLiteral("edBookmark"));
    btnAdd = glyphButton(GroupBox1, "btnAdd", 0xF067, "Tambah Bookmark");
    btnDelete = glyphButton(GroupBox1, "btnDelete", 0xF2ED, "Hapus Bookmark");
    row->addWidget(edBookmark, 1);
    row->addWidget(btnAdd);
    row->addWidget(btnDelete);
    layout->addWidget(GroupBox1);
    lbBookmark = new QListWidget(this);
    lbBookmark->setObjectName(QStringLiteral("lbBookmark"));
    layout->addWidget(lbBookmark, 1);
}

} // namespace elumira
