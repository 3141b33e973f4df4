#include "player/JsonPattern.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace host {

namespace {

constexpr char kRegex[] = "$regex";
constexpr char kContains[] = "$contains";
constexpr char kExactly[] = "$exactly";

// The operator of a pattern object ("$regex", ...); empty for a plain object.
QString OperatorOf(const QJsonObject& pattern)
{
    for (auto it = pattern.begin(); it != pattern.end(); ++it)
        if (it.key().startsWith(QLatin1Char('$'))) return it.key();
    return QString();
}

} // namespace

bool CJsonPattern::Compile(const QJsonValue& pattern, QString* why)
{
    m_pattern = pattern;
    m_regexes.clear();
    return Check(pattern, why);
}

bool CJsonPattern::Check(const QJsonValue& pattern, QString* why)
{
    if (pattern.isArray()) {
        for (const QJsonValue& element : pattern.toArray())
            if (!Check(element, why)) return false;
        return true;
    }
    if (!pattern.isObject()) return true;
    const QJsonObject object = pattern.toObject();
    const QString op = OperatorOf(object);
    if (op.isEmpty()) {
        for (auto it = object.begin(); it != object.end(); ++it)
            if (!Check(it.value(), why)) return false;
        return true;
    }
    const QJsonValue operand = object.value(op);
    if (object.size() != 1) {
        *why = QStringLiteral("\"%1\" stands alone in its object: %2").arg(op, CompactJson(pattern));
        return false;
    }
    if (op == QLatin1String(kExactly)) {
        if (operand.isArray()) return Check(operand, why);
        *why = QStringLiteral("\"$exactly\" takes an array");
        return false;
    }
    if (op != QLatin1String(kRegex) && op != QLatin1String(kContains)) {
        *why = QStringLiteral("unknown pattern operator \"%1\" (one of: $regex, $contains, $exactly)").arg(op);
        return false;
    }
    if (!operand.isString()) {
        *why = QStringLiteral("\"%1\" takes a text").arg(op);
        return false;
    }
    if (op == QLatin1String(kContains)) return true;
    QRegularExpression regex(QRegularExpression::anchoredPattern(operand.toString()));
    if (!regex.isValid()) {
        *why = QStringLiteral("the regular expression \"%1\" does not compile: %2 at %3")
                   .arg(operand.toString(), regex.errorString())
                   .arg(regex.patternErrorOffset());
        return false;
    }
    regex.optimize();
    m_regexes.emplace(operand.toString(), std::move(regex));
    return true;
}

bool CJsonPattern::Match(const QJsonValue& pattern, const QJsonValue& actual) const
{
    if (pattern.isObject()) {
        const QJsonObject p = pattern.toObject();
        const QString op = OperatorOf(p);
        const QJsonValue operand = p.value(op);
        if (op == QLatin1String(kRegex)) {
            const auto it = m_regexes.find(operand.toString());
            return actual.isString() && it != m_regexes.end() && it->second.match(actual.toString()).hasMatch();
        }
        if (op == QLatin1String(kContains)) return actual.isString() && actual.toString().contains(operand.toString());
        if (op == QLatin1String(kExactly))
            return actual.isArray() && actual.toArray().size() == operand.toArray().size() && Match(operand, actual);
        if (!actual.isObject()) return false;
        const QJsonObject a = actual.toObject();
        for (auto it = p.begin(); it != p.end(); ++it)
            if (!a.contains(it.key()) || !Match(it.value(), a.value(it.key()))) return false;
        return true;
    }
    if (pattern.isArray()) {
        if (!actual.isArray()) return false;
        const QJsonArray p = pattern.toArray();
        const QJsonArray a = actual.toArray();
        if (a.size() < p.size()) return false;
        for (qsizetype i = 0; i < p.size(); ++i)
            if (!Match(p[i], a[i])) return false;
        return true;
    }
    if (pattern.isDouble()) return actual.isDouble() && pattern.toDouble() == actual.toDouble();
    return pattern == actual;
}

QString CompactJson(const QJsonValue& v)
{
    if (v.isObject()) return QString::fromUtf8(QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact));
    if (v.isArray()) return QString::fromUtf8(QJsonDocument(v.toArray()).toJson(QJsonDocument::Compact));
    return v.toVariant().toString();
}

bool JsonMatches(const QJsonValue& pattern, const QJsonValue& actual)
{
    CJsonPattern compiled;
    QString why;
    return compiled.Compile(pattern, &why) && compiled.Matches(actual);
}

} // namespace host
