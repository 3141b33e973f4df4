// Expectations over JSON: the patterns that the scenario step "expect"
// matches against the transcript's entries, and the tests' own matches.
#pragma once

#include <map>

#include <QJsonValue>
#include <QRegularExpression>
#include <QString>

namespace host {

// Subset match: every key of pattern is in actual with a matching value;
// arrays match element by element over the pattern's length; other values
// must be equal (numbers by value). Three objects of one "$" key are
// operators: {"$regex": "..."} matches a text that the regular expression
// matches whole, {"$contains": "..."} a text that has that part, and
// {"$exactly": [...]} an array of just as many elements, each matching.
class CJsonPattern {
public:
    // False with *why when the pattern has an operator that does not fit
    // (an unknown one, a value of the wrong kind, a regular expression that
    // does not compile).
    bool Compile(const QJsonValue& pattern, QString* why);
    bool Matches(const QJsonValue& actual) const { return Match(m_pattern, actual); }

private:
    bool Check(const QJsonValue& pattern, QString* why);
    bool Match(const QJsonValue& pattern, const QJsonValue& actual) const;

    QJsonValue m_pattern;
    std::map<QString, QRegularExpression> m_regexes;
};

// A value as one line of JSON (a text or number as itself).
QString CompactJson(const QJsonValue& value);

// One match of a pattern (a pattern that does not compile matches nothing).
bool JsonMatches(const QJsonValue& pattern, const QJsonValue& actual);

} // namespace host
