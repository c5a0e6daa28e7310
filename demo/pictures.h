// The demo library's pictures: book covers, banners, the partner's logos and intro picture, member photos. All are
// painted on first request and then kept.
#pragma once

#include "demo/catalogue.h"
#include "demo/store.h"

#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace demo {

struct Picture
{
    std::string bytes;
    std::string contentType;
};

class Pictures
{
public:
    explicit Pictures(const Catalogue &catalogue) : m_catalogue(catalogue) {}

    std::optional<Picture> cover(const std::string &name);
    std::optional<Picture> banner(const std::string &name);
    std::optional<Picture> logo(const std::string &name); // the two logos and the intro picture
    Picture memberPhoto(const Member &member);

private:
    template <typename Paint> Picture cached(const std::string &key, Paint paint);

    const Catalogue &m_catalogue;
    std::mutex m_mutex;
    std::map<std::string, Picture> m_cache;
};

} // namespace demo
