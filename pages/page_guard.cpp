// Failure handling shared by the page generators.
#include "pages/page_guard.h"

#include "common/dialogs.h"

#include <stdexcept>

namespace elumira::pages {

bool runGuarded(Dialogs &dialogs, const char *prefix, const std::function<void()> &work)
{
    QString message;
    try {
        work();
        return true;
    } catch (const std::exception &failure) {
        message = QString::fromUtf8(failure.what());
    } catch (...) {
        message = QStringLiteral("Unknown failure");
    }
    dialogs.error(QString::fromUtf8(prefix) + message);
    return false;
}

const Json &requireAnswer(const Json *answer, const char *name)
{
    if (!answer)
        throw std::runtime_error(std::string("The answer ") + name + " has not been received");
    return *answer;
}

} // namespace elumira::pages
