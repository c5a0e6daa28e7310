// Routes of the file areas: book files and pictures.
#include "demo/service_state.h"

#include <QFile>

namespace demo {

namespace {

void sendPicture(const std::optional<Picture> &picture, httplib::Response &res)
{
    if (!picture) {
        res.status = 404;
        return;
    }
    res.set_header("Cache-Control", "max-age=86400");
    res.set_content(picture->bytes, picture->contentType.c_str());
}

} // namespace

void addFileRoutes(ServiceState &s)
{
    on(s, "GET", "/pc/lkr/([^/]+)", [&s](const Incoming &, const httplib::Request &req, httplib::Response &res) {
        const Book *book = s.catalogue.bookByFile(req.matches[1].str());
        if (!book) {
            res.status = 404;
            return;
        }
        QFile file(s.books.file(*book));
        if (!file.open(QIODevice::ReadOnly)) {
            res.status = 500;
            return;
        }
        const QByteArray bytes = file.readAll();
        res.set_content(bytes.constData(), size_t(bytes.size()), "application/pdf");
    });

    on(s, "GET", "/prod/img/cover/([^/]+)",
       [&s](const Incoming &, const httplib::Request &req, httplib::Response &res) {
           sendPicture(s.pictures.cover(req.matches[1].str()), res);
       });
    on(s, "GET", "/prod/img/banner/([^/]+)",
       [&s](const Incoming &, const httplib::Request &req, httplib::Response &res) {
           sendPicture(s.pictures.banner(req.matches[1].str()), res);
       });
    on(s, "GET", "/prod/img/logo/([^/]+)", [&s](const Incoming &, const httplib::Request &req, httplib::Response &res) {
        sendPicture(s.pictures.logo(req.matches[1].str()), res);
    });
}

} // namespace demo
