// What the program asks of a browser view that shows a library page.
#pragma once

#include <QString>
#include <QUrl>

namespace elumira {

// A view in which library pages are shown. Calls never wait for the page: loading, reloading and scripts
// run in the browser's own time and nothing comes back through this interface.
class BrowserView
{
public:
    virtual ~BrowserView() = default;

    virtual void loadUrl(const QUrl &url) = 0;
    // Loads the current document again from its file.
    virtual void reload() = 0;
    // Runs a script in the main frame of the page shown.
    virtual void runScript(const QString &script) = 0;
    // Makes this view the visible one of its stack.
    virtual void bringToFront() = 0;
};

} // namespace elumira
