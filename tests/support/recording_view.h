// A browser view for page tests that records what it is asked to do and shows nothing.
#pragma once

#include "common/browser_view.h"

#include <QList>
#include <QStringList>
#include <QUrl>

namespace elumira::test {

class RecordingView : public BrowserView
{
public:
    void loadUrl(const QUrl &url) override { loads.append(url); }
    void reload() override { ++reloads; }
    void runScript(const QString &script) override { scripts.append(script); }
    void bringToFront() override { ++broughtToFront; }

    QList<QUrl> loads;
    QStringList scripts;
    int reloads = 0;
    int broughtToFront = 0;
};

} // namespace elumira::test
