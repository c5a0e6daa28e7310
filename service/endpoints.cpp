// The service's catalogue, loan and account requests.
#include "service/lekora_lib.h"

namespace elumira {

namespace {

QString number(int value)
{
    return QString::number(value);
}

} // namespace

Json TLekoraLib::LoginRequest(const QString &Username, const QString &Password) const
{
    return postForm("/api/wl/executeLogin",
                    {{QStringLiteral("user"), Username}, {QStringLiteral("pass"), Password}, {QStringLiteral("uuid"), DevUUID}},
                    HeaderSet::Login, " #387 ");
}

Json TLekoraLib::BannerRequest() const
{
    return get("/api/wl/listBanner", HeaderSet::Member, "#410 ");
}

Json TLekoraLib::CategoryRequest() const
{
    return get("/api/wl/menu", HeaderSet::Member, "#431 ");
}

Json TLekoraLib::HomeRequest(int Page) const
{
    return postForm("/api/wl/listHomepage", {{QStringLiteral("page"), number(Page)}, {QStringLiteral("limit"), QStringLiteral("10")}},
                    HeaderSet::Member, "#457 ");
}

Json TLekoraLib::HomeDetailRequest(const QString &id_homepage) const
{
    return postForm("/api/wl/listHomepageDetail",
                    {{QStringLiteral("id_homepage"), id_homepage}, {QStringLiteral("page"), QStringLiteral("1")}},
                    HeaderSet::Member, "#484 ");
}

Json TLekoraLib::CategoryContentRequest(const QString &id_dept, const QString &id_kategori) const
{
    return postForm("/api/wl/listContentCategory",
                    {{QStringLiteral("id_dept"), id_dept}, {QStringLiteral("id_kategori"), id_kategori}},
                    HeaderSet::Member, "#512 ");
}

Json TLekoraLib::SubCategoryContentRequest(const QString &id_dept, const QString &id_sub_kategori) const
{
    return postForm("/api/wl/listContentSubCategory",
                    {{QStringLiteral("id_dept"), id_dept}, {QStringLiteral("id_sub_kategori"), id_sub_kategori}},
                    HeaderSet::Member, "#540 ");
}

Json TLekoraLib::ChartContentRequest(const QString &chartType, int page) const
{
    const char *path = nullptr;
    if (chartType == QLatin1String("topRead"))
        path = "/api/wl/listTopRead";
    else if (chartType == QLatin1String("lastRead"))
        path = "/api/wl/listLastRead";
    else if (chartType == QLatin1String("lastView"))
        path = "/api/wl/listLastView";
    if (!path)
        return errorEnvelope(QStringLiteral("#527 "), QStringLiteral("Unknown chart \"%1\"").arg(chartType));
    return postForm(path, {{QStringLiteral("page"), number(page)}}, HeaderSet::Member, "#527 ");
}

Json TLekoraLib::DetailContentRequest(const QString &id_konten) const
{
    return postForm("/api/wl/detailKonten", {{QStringLiteral("id_konten"), id_konten}}, HeaderSet::Member, "");
}

Json TLekoraLib::SearchContentRequest(const QString &field, const QString &keyword, int page) const
{
    return postForm("/api/wl/searching",
                    {{QStringLiteral("page"), number(page)}, {QStringLiteral("keyword"), keyword}, {QStringLiteral("field"), field}},
                    HeaderSet::Member, "");
}

Json TLekoraLib::SearchKalimatRequest(const QString &keyword, int page) const
{
    return postForm("/api/wl/searchingKalimat", {{QStringLiteral("page"), number(page)}, {QStringLiteral("keyword"), keyword}},
                    HeaderSet::Member, "");
}

Json TLekoraLib::ReadPermissionRequest(const QString &id_konten) const
{
    return postForm("/api/wl/requestBaca", {{QStringLiteral("id_konten"), id_konten}}, HeaderSet::Member, "");
}

Json TLekoraLib::BookReturnRequest(const QString &id_baca, const QString &id_konten, const QString &page_index) const
{
    return postForm("/api/wl/bookReturn",
                    {{QStringLiteral("id_konten"), id_konten}, {QStringLiteral("id_baca"), id_baca},
                     {QStringLiteral("page_index"), page_index}},
                    HeaderSet::Member, "");
}

Json TLekoraLib::SaveAnnotationRequest(const QString &JSONString) const
{
    return postJson("/api/wl/saveAnotasi", JSONString, "");
}

Json TLekoraLib::SaveCopyText(const QString &JSonString) const
{
    return postJson("/api/wl/copyText", JSonString, "");
}

Json TLekoraLib::ForgotPasswordRequest(const QString &Username) const
{
    return postForm("/api/wl/forgotPassword", {{QStringLiteral("username"), Username}}, HeaderSet::Device, "");
}

Json TLekoraLib::UpdateReadStatusRequest(const QString &id_baca, const QString &status) const
{
    return postForm("/api/wl/updateReadStatus", {{QStringLiteral("id_baca"), id_baca}, {QStringLiteral("status"), status}},
                    HeaderSet::Member, "");
}

HttpResult TLekoraLib::AnnotationFileRequest(const QString &address) const
{
    HttpRequest request;
    request.url = address;
    request.headers = headers(HeaderSet::Member);
    request.cancelled = &m_cancelled;
    return performRequest(request);
}

Json TLekoraLib::Logoutrequest() const
{
    return postForm("/api/wl/executeLogout", {{QStringLiteral("id_user"), UserId()}}, HeaderSet::Member, "");
}

} // namespace elumira
