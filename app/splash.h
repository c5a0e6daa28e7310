// TFormSplash: the full-screen splash shown while the program starts; it owns the service client.
#pragma once

#include "common/background_task.h"
#include "common/json_read.h"

#include <QWidget>

#include <memory>

namespace elumira {

class Dialogs;
class TLekoraLib;
struct UpdateOffer;

class TFormSplash : public QWidget
{
    Q_OBJECT
public:
    TFormSplash(Dialogs &dialogs, UpdateOffer &update, QWidget *parent = nullptr);
    ~TFormSplash() override;

    // The program-wide service client, created when the splash is first shown.
    TLekoraLib *lekora() const { return m_lekora.get(); }
    // Shared with the background requests, which keep the client alive until they end.
    const std::shared_ptr<TLekoraLib> &lekoraShared() const { return m_lekora; }
    // The version check has ended, whatever its outcome.
    bool completed() const { return m_completed; }
    // The version check asked the program to end.
    bool terminateRequested() const { return m_terminate; }

    void FormShow();
    bool FormCloseQuery();
    void FormDestroy();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Task messages of the version check: 2 ends the program after a warning, 3 offers an update.
    void taskMessage(int message, const QString &text);
    void taskTerminated();

    Dialogs &m_dialogs;
    UpdateOffer &m_update;
    std::shared_ptr<TLekoraLib> m_lekora;
    TaskHandle RequestTask;
    bool m_completed = false;
    bool m_terminate = false;
    bool m_showHandled = false;
};

// TFormAbout: the product logo and the version; a click anywhere hides it.
class TFormAbout : public QWidget
{
    Q_OBJECT
public:
    explicit TFormAbout(QWidget *parent = nullptr);

    void FormClick();
    void Image1Click();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

} // namespace elumira
