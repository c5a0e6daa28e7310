// The reader panel of ReaderWindow with the annotation tools, their three windows and recorded message boxes,
// and the mouse gestures the annotation tests make on a book's view.
#pragma once

#include "annotations/annot_books.h"
#include "annotations/annot_settings.h"
#include "annotations/annot_tools.h"
#include "annotations/notes.h"
#include "annotations/sticky_notes.h"
#include "common/dialogs.h"
#include "tests/support/reader_window.h"

#include <QImage>
#include <QList>
#include <QPoint>

#include <memory>

namespace elumira::test {

class AnnotReader : public ReaderWindow
{
public:
    ~AnnotReader();
    // Builds the reader (without a service client) and the annotation objects, wired as the main window wires
    // them; false when the window never showed.
    bool buildAnnotations();

    // The view of tab i's viewport, where the mouse acts.
    QWidget *viewport(int i = 0) { return view(i)->viewport(); }
    const Json &data(int i = 0) { return annot::entries(settings(i).AnnotationObject); }
    // Presses the left button at from, moves through the points given, and releases at to.
    void drag(QPoint from, const QList<QPoint> &through, QPoint to, int i = 0);
    // A double click as the mouse makes it: a click, then the second press and its release.
    void doubleClick(QPoint at, int i = 0);
    // One frame of the view, painted now.
    QImage frame(int i = 0);
    // The view pixels of a character range's first line on the page shown.
    QRect textBox(int start, int count, int i = 0);

    RecordingDialogs dialogs;
    AnnotToolState state;
    std::unique_ptr<AnnotBooks> books;
    std::unique_ptr<TFormSticky> sticky;
    std::unique_ptr<TFormNotes> notes;
    std::unique_ptr<TFormAnnotSettings> colours;
    std::unique_ptr<TAnnotTools> tools;
};

} // namespace elumira::test
