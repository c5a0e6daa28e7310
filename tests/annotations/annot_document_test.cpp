// The annotation document: the members of each kind of entry and their order, the lenient readers, the page
// index kept in step with appends and deletes, and the hit test that every drawn box can be found by.
#include "annotations/annot_document.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using elumira::Json;
using namespace elumira::annot;

namespace {

std::vector<std::string> keysOf(const Json &object)
{
    std::vector<std::string> keys;
    for (auto it = object.begin(); it != object.end(); ++it)
        keys.push_back(it.key());
    return keys;
}

TEST(AnnotDocumentTest, makers_membersInTheOrderTheServiceKeeps)
{
    const PageBox box{10.5, 200, 80, 150.25};
    NoteText note;
    note.font = QStringLiteral("Tahoma");
    note.size = 8;
    note.date = QStringLiteral("12/10/26");
    note.text = QStringLiteral("baris satu\nbaris dua");
    Json ink = makeInk(2, 16711680, QPointF(1.5, 2.5));
    ink["draw_data"].push_back(Json{{"x", 3}, {"y", 4}});
    ink["point"]["left"] = 1;
    const struct
    {
        const char *what;
        Json entry;
        std::vector<std::string> keys;
    } cases[] = {
        {"highlight as begun", makeHighlight(1, 65535), {"page", "type", "color"}},
        {"rectangle", makeRectangle(1, 255, box), {"page", "type", "color", "point"}},
        {"ink with its points", ink, {"page", "type", "color", "point", "draw_data"}},
        {"note", makeNote(4, note, box),
         {"page", "type", "note_id", "color", "font", "size", "font_color", "date", "text", "point"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(keysOf(c.entry), c.keys) << c.what;

    EXPECT_EQ(keysOf(makeRectangle(0, 255, box)["point"]), (std::vector<std::string>{"left", "top", "right", "bottom"}));
    EXPECT_EQ(keysOf(ink["point"]), (std::vector<std::string>{"x", "y", "left"}));
    const Json made = makeNote(4, note, box);
    EXPECT_EQ(made["note_id"], "");
    EXPECT_EQ(made["color"], 374470);
    EXPECT_EQ(made["font_color"], -16777208);
    EXPECT_EQ(made["text"], "baris satu\nbaris dua");
    EXPECT_EQ(made["type"], "NOTES");
    EXPECT_EQ(deviceBoxJson(QPoint(5, 6), QPoint(1, 2)).dump(), R"({"left":5,"top":6,"right":1,"bottom":2})");
}

TEST(AnnotDocumentTest, readers_takeNumericTextAndReadMissingAsZero)
{
    const Json entry = Json::parse(R"json({"page": "3", "type": "RECTANGLE", "color": "255",
        "point": {"left": "12.5", "top": 30, "bottom": "x"}})json");
    EXPECT_EQ(entryPage(entry), 3);
    EXPECT_EQ(entryColour(entry), 255);
    EXPECT_EQ(pointBox(entry), (PageBox{12.5, 30, 0, 0}));
    EXPECT_EQ(entryPage(Json::object()), 0);
    EXPECT_EQ(pointBox(Json::object()), PageBox{});
    EXPECT_EQ(entryType(Json(42)), QString());

    // A document without data reads as empty, and the first entry creates it.
    Json document{{"id_konten", "7"}};
    EXPECT_TRUE(entries(std::as_const(document)).empty());
    entries(document).push_back(entry);
    EXPECT_EQ(document["data"].size(), 1u);
    EXPECT_EQ(newDocument(QStringLiteral("1012")).dump(), R"({"id_konten":"1012","data":[]})");
}

TEST(AnnotDocumentTest, pageIndex_keptInStepWithAppendsAndDeletes)
{
    Json data = Json::array();
    PageIndex index;
    index.rebuild(data);
    for (const char *page : {"0", "2", "0", "2", "1"}) {
        data.push_back(Json{{"page", page}, {"type", "RECTANGLE"}});
        index.appended(data);
    }
    EXPECT_EQ(index.entriesOn(0), (std::vector<int>{0, 2}));
    EXPECT_EQ(index.entriesOn(2), (std::vector<int>{1, 3}));
    EXPECT_TRUE(index.isFor(data));

    data.erase(data.begin() + 1);
    index.removed(data, 1);
    EXPECT_EQ(index.entriesOn(0), (std::vector<int>{0, 1}));
    EXPECT_EQ(index.entriesOn(2), (std::vector<int>{2}));
    EXPECT_EQ(index.entriesOn(1), (std::vector<int>{3}));

    PageIndex fresh;
    fresh.rebuild(data);
    for (int page = 0; page < 3; ++page)
        EXPECT_EQ(index.entriesOn(page), fresh.entriesOn(page)) << page;
    // An index of another array, or of this one before it changed behind its back, is not taken for it.
    data.push_back(Json{{"page", 0}});
    EXPECT_FALSE(index.isFor(data));
}

TEST(AnnotDocumentTest, hitBox_ordersCornersAndWidensThinBoxes)
{
    const struct
    {
        const char *what;
        QPoint first;
        QPoint second;
        QRect box;
    } cases[] = {
        {"drawn from top left", QPoint(10, 20), QPoint(50, 60), QRect(QPoint(10, 20), QPoint(50, 60))},
        {"drawn from lower right", QPoint(50, 60), QPoint(10, 20), QRect(QPoint(10, 20), QPoint(50, 60))},
        {"straight across", QPoint(10, 40), QPoint(90, 40), QRect(QPoint(10, 37), QPoint(90, 43))},
        {"straight down", QPoint(30, 90), QPoint(30, 10), QRect(QPoint(27, 10), QPoint(33, 90))},
        {"five pixels high", QPoint(10, 40), QPoint(90, 45), QRect(QPoint(10, 37), QPoint(90, 48))},
        {"six pixels high", QPoint(10, 40), QPoint(90, 46), QRect(QPoint(10, 40), QPoint(90, 46))},
    };
    for (const auto &c : cases)
        EXPECT_EQ(hitBox(c.first, c.second), c.box) << c.what;
}

} // namespace
