// The registration window's requests: the region directory and the membership application.
#include "service/lekora_lib.h"

#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace elumira {

namespace {

// A photo file as a multipart file part; throws with the reason when it cannot be read.
MimePart photoPart(const char *name, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(
            QStringLiteral("Cannot open file \"%1\": %2").arg(path, file.errorString()).toStdString());
    MimePart part;
    part.name = name;
    part.fileName = QFileInfo(path).fileName().toUtf8();
    part.contentType = contentTypeForFile(path);
    part.data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw std::runtime_error(
            QStringLiteral("Cannot read file \"%1\": %2").arg(path, file.errorString()).toStdString());
    return part;
}

} // namespace

Json TLekoraLib::RegionRequest(const QString &path) const
{
    HttpRequest request;
    request.path = path;
    request.headers = headers(HeaderSet::None);
    request.cancelled = &m_cancelled;
    return readRegionAnswer(performRequest(request));
}

Json TLekoraLib::readRegionAnswer(const HttpResult &result)
{
    if (!result.ok())
        throw std::runtime_error(result.failureMessage().toStdString());
    const QByteArray text = decodeBody(result.body, result.contentType).toUtf8();
    Json answer = Json::parse(text.constData(), text.constData() + text.size(), nullptr, false);
    if (answer.is_discarded() || !answer.is_object())
        throw std::runtime_error("The region directory's answer is not a JSON object");
    // An answer that says it failed is a failure in the service's own words, not an empty level; one without a
    // code is read as it stands.
    if (answer.contains("code")) {
        const QString code = jsonText(answer, "code");
        if (code != QLatin1String("200")) {
            const QString msg = jsonText(answer, "msg");
            throw std::runtime_error(
                (msg.isEmpty() ? QStringLiteral("The region directory answered with code %1").arg(code) : msg)
                    .toStdString());
        }
    }
    return answer;
}

Json TLekoraLib::RegistrationRequest(const QString &data, const QString &identitas, const QString &foto) const
{
    HttpRequest request;
    request.method = "POST";
    request.path = QStringLiteral("/api/wl/executeRegistration");
    request.headers = headers(HeaderSet::Registration);
    request.cancelled = &m_cancelled;
    try {
        request.parts.append({"data", {}, "application/json; charset=utf-8", data.toUtf8()});
        request.parts.append(photoPart("foto_identitas", identitas));
        request.parts.append(photoPart("photo", foto));
    } catch (const std::exception &error) {
        return errorEnvelope(QString(), QString::fromUtf8(error.what()));
    }
    return exchange(request, QString());
}

} // namespace elumira
