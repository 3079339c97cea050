#include "record/RecordReading.h"

#include "record/RecordJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>

namespace kel {

namespace {

// Walks the document, keeping the first problem met.
class RecordReader {
public:
    bool Failed() const { return !m_problem.isEmpty(); }
    const QString& Problem() const { return m_problem; }

    void Fail(const QString& where, const QString& what)
    {
        if (!Failed()) {
            m_problem = where + ": " + what;
        }
    }

    QJsonValue Member(const QJsonObject& object, const QString& where, const QString& key)
    {
        const QJsonValue value = object.value(key);
        if (value.isUndefined()) {
            Fail(where, "the key \"" + key + "\" is missing");
        }
        return value;
    }

    int Integer(const QJsonObject& object, const QString& where, const QString& key, int low)
    {
        const QJsonValue value = Member(object, where, key);
        const double number = value.toDouble();
        const bool whole = value.isDouble() && std::floor(number) == number &&
                           number >= std::numeric_limits<std::int32_t>::min() &&
                           number <= std::numeric_limits<std::int32_t>::max();
        if (!value.isUndefined() && !whole) {
            Fail(where + "." + key, "not a whole number");
        } else if (whole && number < low) {
            Fail(where + "." + key, QString("%1 is below %2").arg(static_cast<qint64>(number)).arg(low));
        }
        return whole ? static_cast<int>(number) : 0;
    }

    bool Boolean(const QJsonObject& object, const QString& where, const QString& key)
    {
        const QJsonValue value = Member(object, where, key);
        if (!value.isUndefined() && !value.isBool()) {
            Fail(where + "." + key, "not true or false");
        }
        return value.toBool();
    }

    QJsonObject Object(const QJsonValue& value, const QString& where)
    {
        if (!value.isUndefined() && !value.isObject()) {
            Fail(where, "not an object");
        }
        return value.toObject();
    }

    QJsonArray Array(const QJsonValue& value, const QString& where)
    {
        if (!value.isUndefined() && !value.isArray()) {
            Fail(where, "not an array");
        }
        return value.toArray();
    }

private:
    QString m_problem;
};

struct KindRule {
    int count;
    QString announcedBy;  // what sets the count
};

KindRule RuleFor(const RunParameters& parameters, bool isWrite)
{
    if (!isWrite) {
        return {parameters.readReps, "parameters.readReps"};
    }
    if (parameters.simultaneous != 0) {
        return {0, "parameters.simultaneous (its one write pass is not drawn)"};
    }
    return {parameters.writeReps, "parameters.writeReps"};
}

void ReadPass(RecordReader& reader, const QJsonValue& value, const QString& where, const RunParameters& parameters,
              RunRecord& record)
{
    const QJsonObject pass = reader.Object(value, where);
    const QJsonValue kind = reader.Member(pass, where, "kind");
    const bool isWrite = kind.toString() == PassKindName(true);
    if (!kind.isUndefined() && !isWrite && kind.toString() != PassKindName(false)) {
        reader.Fail(where + ".kind", "neither \"Record\" nor \"Play\"");
    }
    const int number = reader.Integer(pass, where, "number", 1);
    const QJsonValue rate = reader.Member(pass, where, "rate");
    if (!rate.isUndefined() && !rate.isDouble()) {
        reader.Fail(where + ".rate", "not a number");
    }
    const QJsonArray samples = reader.Array(reader.Member(pass, where, "samples"), where + ".samples");
    if (reader.Failed()) {
        return;
    }
    const KindRule rule = RuleFor(parameters, isWrite);
    if (rule.count == 0) {
        reader.Fail(where, "a " + kind.toString() + " pass, but " + rule.announcedBy + " announces none");
    } else if (number > rule.count) {
        reader.Fail(where + ".number",
                    QString("%1 is beyond the %2 %3 passes of %4")
                        .arg(number)
                        .arg(rule.count)
                        .arg(kind.toString(), rule.announcedBy));
    } else if (samples.isEmpty()) {
        reader.Fail(where + ".samples", "empty; a pass has at least one sample");
    }
    RecordedPass recorded {isWrite, number, rate.toDouble(), {}};
    for (qsizetype i = 0; i < samples.size() && !reader.Failed(); ++i) {
        if (!samples[i].isDouble()) {
            reader.Fail(QString("%1.samples[%2]").arg(where).arg(i), "not a number");
        }
        recorded.samples.push_back(samples[i].toDouble());
    }
    record.passes.push_back(std::move(recorded));
}

}  // namespace

std::optional<RunRecord> ParseRunRecord(const QByteArray& json, QString& problem)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        problem = QString("not JSON: %1 at byte %2").arg(parseError.errorString()).arg(parseError.offset);
        return std::nullopt;
    }
    if (!document.isObject()) {
        problem = "not a run record: the document is not an object";
        return std::nullopt;
    }
    const QJsonObject root = document.object();
    RecordReader reader;
    // Records written before the schema was numbered have no "schema".
    if (root.contains("schema") && root.value("schema") != QJsonValue(kRecordSchema)) {
        reader.Fail("schema", QString("this program reads schema %1 only").arg(kRecordSchema));
    }
    const QJsonObject parameters = reader.Object(reader.Member(root, "record", "parameters"), "parameters");
    RunRecord record;
    RunParameters& p = record.parameters;
    if (!reader.Failed()) {
        p.readReps = reader.Integer(parameters, "parameters", "readReps", 0);
        p.writeReps = reader.Integer(parameters, "parameters", "writeReps", 0);
        p.minRead = reader.Integer(parameters, "parameters", "minRead", std::numeric_limits<std::int32_t>::min());
        p.minWrite = reader.Integer(parameters, "parameters", "minWrite", std::numeric_limits<std::int32_t>::min());
        p.simultaneous = reader.Boolean(parameters, "parameters", "simultaneous") ? 1 : 0;
    }
    const QJsonArray passes = reader.Array(reader.Member(root, "record", "passes"), "passes");
    for (qsizetype i = 0; i < passes.size() && !reader.Failed(); ++i) {
        ReadPass(reader, passes[i], QString("passes[%1]").arg(i), p, record);
    }
    if (reader.Failed()) {
        problem = reader.Problem();
        return std::nullopt;
    }
    return record;
}

}  // namespace kel
