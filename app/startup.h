// The program's start-up: browser engine, splash and service client, version check, windows, message loop.
#pragma once

#include "shell/main_window.h"

#include <memory>

class QWebEngineProfile;

namespace elumira {

class Dialogs;
class TFormAbout;
class TFormBookmark;
class TFormInfoBuku;
class TFormForgotPass;
class TFormRegistrasi;
class TFormSplash;

class ElumiraProgram
{
public:
    explicit ElumiraProgram(Dialogs &dialogs);
    ~ElumiraProgram();

    // Starts the program and runs it until the main window closes or the version check ends it.
    // Returns the exit code.
    int run();

    TFormSplash *splash() const { return m_splash.get(); }
    TFormMain *mainWindow() const { return m_main.get(); }
    TFormAbout *aboutWindow() const { return m_about.get(); }
    TFormRegistrasi *registrationWindow() const { return m_registration.get(); }
    TFormForgotPass *forgotPasswordWindow() const { return m_forgotPassword.get(); }
    TFormBookmark *bookmarkWindow() const { return m_bookmark.get(); }
    TFormInfoBuku *bookInfoWindow() const { return m_bookInfo.get(); }
    const UpdateOffer &updateOffer() const { return m_update; }

private:
    Dialogs &m_dialogs;
    UpdateOffer m_update;
    std::unique_ptr<QWebEngineProfile> m_profile;
    std::unique_ptr<TFormSplash> m_splash;
    std::unique_ptr<TFormAbout> m_about;
    std::unique_ptr<TFormInfoBuku> m_bookInfo;
    std::unique_ptr<TFormBookmark> m_bookmark;
    std::unique_ptr<TFormForgotPass> m_forgotPassword;
    std::unique_ptr<TFormRegistrasi> m_registration;
    std::unique_ptr<TFormMain> m_main;
};

} // namespace elumira
