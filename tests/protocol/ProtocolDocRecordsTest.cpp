// The tables of records and blocks in docs/protocol.md (section "Records in
// JSON") against the record table: every code and every block that words
// point at has exactly one row, and each row says what the table says.
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "protocol/RecordTable.h"

using namespace tarvolan;

namespace {

std::string ReadProtocolDoc()
{
    std::ifstream file(TARVOLAN_SOURCE_DIR "/docs/protocol.md");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string Trim(const std::string& s)
{
    const size_t first = s.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : s.substr(first, s.find_last_not_of(' ') - first + 1);
}

template <class Names> std::string Quoted(const Names& names)
{
    std::string text;
    for (const auto& name : names) text += (text.empty() ? "`" : ", `") + std::string(name) + "`";
    return text.empty() ? "(none)" : text;
}

// The table rows of the section, by their first cell; a second row with the
// same first cell is a fault.
std::map<std::string, std::vector<std::string>> SectionRows(const std::string& doc,
                                                            std::vector<std::string>& faults)
{
    std::map<std::string, std::vector<std::string>> rows;
    const size_t start = doc.find("\n## Records in JSON\n");
    if (start == std::string::npos) {
        faults.push_back("no section on records in JSON");
        return rows;
    }
    std::istringstream section(doc.substr(start + 1, doc.find("\n#", start + 1) - start - 1));
    for (std::string line; std::getline(section, line);) {
        if (line.rfind("| ", 0) != 0) continue;
        std::vector<std::string> cells;
        std::istringstream parts(line.substr(1));
        for (std::string cell; std::getline(parts, cell, '|');) cells.push_back(Trim(cell));
        if (cells.empty() || cells[0] == "code" || cells[0] == "block") continue;
        if (!rows.emplace(cells[0], cells).second) faults.push_back("two rows for " + cells[0]);
    }
    return rows;
}

std::string ShapeCell(const TRecordLayout& record)
{
    switch (record.shape) {
    case EShape::Words: return "words";
    case EShape::GroupList: return "group list";
    case EShape::Block:
    case EShape::Profile: return Quoted(std::vector<std::string>{record.block->name});
    }
    return {};
}

std::vector<std::string> ExpectedRecordRow(const TRecordLayout& record)
{
    return {std::to_string(record.code), record.direction == EDirection::ToModule ? "host" : "module",
            ShapeCell(record), Quoted(record.FieldNames())};
}

// The blocks that no code's row lists, with the words (or the group list's
// slots) that hold them.
std::map<std::string, std::vector<std::string>> ExpectedBlockRows()
{
    std::set<std::string> listed;
    std::map<const TBlockLayout*, std::string> places;
    for (const TRecordLayout& record : AllRecords()) {
        if (record.shape == EShape::Block || record.shape == EShape::Profile) listed.insert(record.block->name);
        if (record.shape == EShape::GroupList)
            places[record.block] += std::to_string(record.code) + " `" + kGroupListSlots + "`";
        for (const TWord& word : record.Words()) {
            if (!word.block) continue;
            std::string& place = places[word.block];
            place += (place.empty() ? "" : ", ") + std::to_string(record.code) + " `" + word.name + "`";
        }
    }
    std::map<std::string, std::vector<std::string>> rows;
    for (const TBlockLayout* block : AllBlockLayouts()) {
        if (listed.count(block->name)) continue;
        std::vector<std::string> names;
        for (const TField& field : block->fields) names.push_back(field.name);
        const std::string key = Quoted(std::vector<std::string>{block->name});
        rows[key] = {key, places[block], Quoted(names)};
    }
    return rows;
}

// What the document's tables get wrong, one line each.
std::vector<std::string> Faults(const std::string& doc)
{
    std::vector<std::string> faults;
    auto rows = SectionRows(doc, faults);
    auto check = [&](const std::string& key, const std::vector<std::string>& expected) {
        auto it = rows.find(key);
        if (it == rows.end()) {
            faults.push_back("no row for " + key);
            return;
        }
        if (it->second != expected) {
            std::string want;
            for (const std::string& cell : expected) want += "| " + cell + " ";
            faults.push_back("the row of " + key + " should read: " + want + "|");
        }
        rows.erase(it);
    };
    for (const TRecordLayout& record : AllRecords()) check(std::to_string(record.code), ExpectedRecordRow(record));
    for (const auto& [key, expected] : ExpectedBlockRows()) check(key, expected);
    for (const auto& [key, cells] : rows) faults.push_back("a row for " + key + ", which the table does not have");
    return faults;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

// The document with the row that starts with `start` replaced (or dropped).
std::string WithRow(std::string doc, const std::string& start, const std::string& row)
{
    const size_t at = doc.find("\n" + start);
    EXPECT_NE(at, std::string::npos) << start;
    if (at == std::string::npos) return doc;
    const size_t end = doc.find('\n', at + 1);
    return doc.replace(at + 1, end - at, row.empty() ? "" : row + "\n");
}

} // namespace

TEST(ProtocolDocRecords, EveryRowAgreesWithTheRecordTable)
{
    const std::vector<std::string> faults = Faults(ReadProtocolDoc());
    EXPECT_TRUE(faults.empty()) << Joined(faults);
}

TEST(ProtocolDocRecords, AWrongMissingOrExtraRowIsFound)
{
    const std::string doc = ReadProtocolDoc();
    ASSERT_TRUE(Faults(doc).empty());

    const std::string renamed = Joined(Faults(WithRow(doc, "| 1020 |", "| 1020 | host | words | `pGroupUri` |")));
    EXPECT_NE(renamed.find("row of 1020"), std::string::npos) << renamed;
    const std::string reordered = Joined(Faults(WithRow(doc, "| `TMemberEntry` |",
        "| `TMemberEntry` | 1005 `pList` | `csInfo`, `DisplayName`, `UserURI`, `csPhone` |")));
    EXPECT_NE(reordered.find("row of `TMemberEntry`"), std::string::npos) << reordered;
    const std::string wrongDirection = Joined(Faults(WithRow(doc, "| 1037 |", "| 1037 | host | words | `pMemberURI`, `iItemKind`, `pProfile` |")));
    EXPECT_NE(wrongDirection.find("row of 1037"), std::string::npos) << wrongDirection;

    EXPECT_EQ(Joined(Faults(WithRow(doc, "| 2 |", ""))), "no row for 2\n");
    const std::string extra = WithRow(doc, "| 1041 |", "| 1041 | host | words | (none) |\n| 1042 | host | words | (none) |");
    EXPECT_EQ(Joined(Faults(extra)), "a row for 1042, which the table does not have\n");
}
