// The annotation document: lenient readers, entry makers, the page index and the hit test.
#include "annotations/annot_document.h"

#include "reader/pdf_control.h"

#include <algorithm>
#include <cmath>

namespace elumira::annot {

namespace {

constexpr int kThinBox = 6;
constexpr int kThinMargin = 3;

} // namespace

int entryPage(const Json &entry)
{
    return entry.is_object() ? int(jsonInt(entry, "page")) : 0;
}

int entryColour(const Json &entry)
{
    return entry.is_object() ? int(jsonInt(entry, "color")) : 0;
}

QString entryType(const Json &entry)
{
    return entry.is_object() ? jsonText(entry, "type") : QString();
}

double number(const Json &object, const char *key)
{
    if (!object.is_object())
        return 0;
    const auto found = object.find(key);
    if (found == object.end())
        return 0;
    if (found->is_number())
        return found->get<double>();
    if (found->is_string()) {
        bool ok = false;
        const double value = QString::fromStdString(found->get<std::string>()).trimmed().toDouble(&ok);
        return ok ? value : 0;
    }
    return 0;
}

int devicePixel(double value)
{
    constexpr double kFarBeyondAnyScreen = 1 << 24;
    if (std::isnan(value))
        return 0;
    return int(std::lround(std::clamp(value, -kFarBeyondAnyScreen, kFarBeyondAnyScreen)));
}

PageBox pageBox(const Json &object)
{
    return {number(object, "left"), number(object, "top"), number(object, "right"), number(object, "bottom")};
}

PageBox pointBox(const Json &entry)
{
    if (!entry.is_object())
        return {};
    const auto point = entry.find("point");
    return point == entry.end() ? PageBox{} : pageBox(*point);
}

const Json &entries(const Json &document)
{
    static const Json none = Json::array();
    if (!document.is_object())
        return none;
    const auto data = document.find("data");
    return data != document.end() && data->is_array() ? *data : none;
}

Json &entries(Json &document)
{
    if (!document.is_object())
        document = Json::object();
    Json &data = document["data"];
    if (!data.is_array())
        data = Json::array();
    return data;
}

Json newDocument(const QString &id_konten)
{
    return Json{{"id_konten", id_konten.toStdString()}, {"data", Json::array()}};
}

Json boxJson(const PageBox &box)
{
    return Json{{"left", box.left}, {"top", box.top}, {"right", box.right}, {"bottom", box.bottom}};
}

Json deviceBoxJson(QPoint first, QPoint second)
{
    return Json{{"left", first.x()}, {"top", first.y()}, {"right", second.x()}, {"bottom", second.y()}};
}

Json makeHighlight(int page, int colour)
{
    return Json{{"page", page}, {"type", kHighlight}, {"color", colour}};
}

Json makeRectangle(int page, int colour, const PageBox &point)
{
    return Json{{"page", page}, {"type", kRectangle}, {"color", colour}, {"point", boxJson(point)}};
}

Json makeInk(int page, int colour, QPointF start)
{
    return Json{{"page", page}, {"type", kInk}, {"color", colour}, {"point", {{"x", start.x()}, {"y", start.y()}}}};
}

Json makeNote(int page, const NoteText &note, const PageBox &point)
{
    return Json{{"page", page},
                {"type", kNotes},
                {"note_id", ""},
                {"color", kNoteColour},
                {"font", note.font.toStdString()},
                {"size", note.size},
                {"font_color", note.fontColour},
                {"date", note.date.toStdString()},
                {"text", note.text.toStdString()},
                {"point", boxJson(point)}};
}

PageMapper::PageMapper(const TPdfControl &view)
    : m_rect(view.GetPageRect()), m_page(view.pageSize(view.PageIndex()))
{
    if (isValid()) {
        m_sx = m_rect.width() / m_page.width();
        m_sy = m_rect.height() / m_page.height();
    }
}

QPoint PageMapper::toDevice(double x, double y) const
{
    if (!isValid())
        return {};
    // The same arithmetic as the view's own conversion, so both give the same pixels.
    return QPoint(devicePixel(m_rect.x() + x * m_sx), devicePixel(m_rect.y() + (m_page.height() - y) * m_sy));
}

const std::vector<int> &PageIndex::entriesOn(int page) const
{
    static const std::vector<int> none;
    const auto found = m_pages.find(page);
    return found == m_pages.end() ? none : found->second;
}

void PageIndex::rebuild(const Json &data)
{
    m_pages.clear();
    for (size_t i = 0; i < data.size(); ++i)
        m_pages[entryPage(data[i])].push_back(int(i));
    m_data = &data;
    m_size = data.size();
}

void PageIndex::appended(const Json &data)
{
    if (m_data != &data || m_size + 1 != data.size()) {
        rebuild(data);
        return;
    }
    m_pages[entryPage(data.back())].push_back(int(data.size() - 1));
    m_size = data.size();
}

void PageIndex::removed(const Json &data, int position)
{
    if (m_data != &data || m_size != data.size() + 1) {
        rebuild(data);
        return;
    }
    for (auto page = m_pages.begin(); page != m_pages.end();) {
        std::vector<int> &positions = page->second;
        positions.erase(std::remove(positions.begin(), positions.end(), position), positions.end());
        for (int &at : positions) {
            if (at > position)
                --at;
        }
        page = positions.empty() ? m_pages.erase(page) : std::next(page);
    }
    m_size = data.size();
}

QRect hitBox(QPoint first, QPoint second)
{
    int left = std::min(first.x(), second.x());
    int right = std::max(first.x(), second.x());
    int top = std::min(first.y(), second.y());
    int bottom = std::max(first.y(), second.y());
    if (right - left < kThinBox) {
        left -= kThinMargin;
        right += kThinMargin;
    }
    if (bottom - top < kThinBox) {
        top -= kThinMargin;
        bottom += kThinMargin;
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

int hitTest(const Json &data, const std::vector<int> &candidates, const PageMapper &mapper, QPoint point, QRect *box)
{
    for (const int position : candidates) {
        if (position < 0 || size_t(position) >= data.size())
            continue;
        const Json &entry = data[size_t(position)];
        const auto found = entry.is_object() ? entry.find("point") : entry.end();
        if (!entry.is_object() || found == entry.end() || !found->is_object())
            continue;
        const PageBox corners = pageBox(*found);
        const QRect hit = hitBox(mapper.toDevice(corners.left, corners.top), mapper.toDevice(corners.right, corners.bottom));
        // Past the first corner, up to and including the second.
        if (hit.left() < point.x() && point.x() <= hit.right() && hit.top() < point.y() && point.y() <= hit.bottom()) {
            if (box)
                *box = hit;
            return position;
        }
    }
    return -1;
}

} // namespace elumira::annot
