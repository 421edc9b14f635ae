#include "check/CrossFileChecks.h"

#include <algorithm>
#include <cstring>

QString CrossFileChecks::duplicateKind() { return QStringLiteral("重复项目"); }
QString CrossFileChecks::missingUnitKind() { return QStringLiteral("缺少单位文件"); }
QString CrossFileChecks::unitNameKind() { return QStringLiteral("单位名称不符"); }

size_t CrossFileChecks::KeyHash::operator()(quint32 entry) const
{
    const Entry& e = checks->reports_[entry];
    return qHashMulti(0, e.unitCode, QByteArrayView(checks->stored(e.projectCode)));
}

bool CrossFileChecks::KeyEqual::operator()(quint32 a, quint32 b) const
{
    const Entry& x = checks->reports_[a];
    const Entry& y = checks->reports_[b];
    return x.unitCode == y.unitCode && std::strcmp(checks->stored(x.projectCode), checks->stored(y.projectCode)) == 0;
}

quint32 CrossFileChecks::intern(const QString& text)
{
    const auto found = textIndex_.constFind(text);
    if (found != textIndex_.constEnd())
        return found.value();
    const auto index = static_cast<quint32>(texts_.size());
    texts_ << text;
    textIndex_.insert(text, index);
    return index;
}

quint32 CrossFileChecks::store(const QString& text)
{
    const auto offset = static_cast<quint32>(bytes_.size());
    const QByteArray utf8 = text.toUtf8();
    bytes_.append(utf8.constData(), static_cast<size_t>(utf8.size()));
    bytes_.push_back('\0');
    return offset;
}

QString CrossFileChecks::path(const Entry& entry) const
{
    return texts_[entry.folder] + QString::fromUtf8(stored(entry.fileName));
}

CrossFileChecks::Added CrossFileChecks::addReport(qint64 order, const QString& path, const ReportRow& row)
{
    quint64 hash = 0;
    std::memcpy(&hash, row.contentHash.constData(), std::min<size_t>(sizeof hash, size_t(row.contentHash.size())));
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const auto index = static_cast<quint32>(reports_.size());
    reports_.push_back({order, hash, intern(row.unitCode), intern(row.unitName),
                        intern(path.left(slash + 1)), store(path.mid(slash + 1)),
                        store(row.projectCode), index});
    Added added;
    if (!row.unitCode.isEmpty()) {
        const auto unit = unitNames_.constFind(row.unitCode);
        added.findingSoFar = unit == unitNames_.constEnd() || unit.value() != row.unitName;
    }
    if (row.unitCode.isEmpty() || row.projectCode.isEmpty())
        return added;
    const auto [first, inserted] = firstOfProject_.insert(index);
    if (inserted)
        return added;
    reports_.back().first = *first;
    added.copy = reports_[*first].hash == hash;
    added.findingSoFar = added.findingSoFar || !added.copy;
    return added;
}

void CrossFileChecks::addUnit(qint64 order, const QString& path, const UnitRow& row)
{
    unitOrders_.insert(order);
    if (row.unitCode.isEmpty())
        return;
    const auto first = unitNames_.constFind(row.unitCode);
    if (first == unitNames_.constEnd()) {
        unitNames_.insert(row.unitCode, row.unitName);
        unitPaths_.insert(row.unitCode, path);
    } else if (first.value() != row.unitName) {
        // Which is right only the unit can say; the reports are held against the first.
        unitConflicts_.emplace_back(order, CheckFinding{path, unitNameKind(),
                                                        QStringLiteral("单位名称“%1”与同一单位的“%2”中的“%3”不同")
                                                            .arg(row.unitName, unitPaths_.value(row.unitCode), first.value())});
    }
}

std::vector<std::pair<qint64, CheckFinding>> CrossFileChecks::findings() const
{
    std::vector<std::pair<qint64, CheckFinding>> found;
    std::vector<bool> firstFlagged(reports_.size());
    for (const Entry& report : reports_) {
        const QString unitCode = texts_[report.unitCode];
        const Entry& first = reports_[report.first];
        if (&first != &report && first.hash != report.hash) {
            const QString projectCode = QString::fromUtf8(stored(report.projectCode));
            const QString same = QStringLiteral("单位编码“%1”、项目编号“%2”与“%3”相同，内容不同");
            found.emplace_back(report.order, CheckFinding{path(report), duplicateKind(), same.arg(unitCode, projectCode, path(first))});
            if (!firstFlagged[report.first]) {
                firstFlagged[report.first] = true;
                found.emplace_back(first.order, CheckFinding{path(first), duplicateKind(), same.arg(unitCode, projectCode, path(report))});
            }
        }
        if (unitCode.isEmpty())
            continue;
        const QString& unitName = texts_[report.unitName];
        const auto unit = unitNames_.constFind(unitCode);
        if (unit == unitNames_.constEnd()) {
            found.emplace_back(report.order,
                               CheckFinding{path(report), missingUnitKind(),
                                            QStringLiteral("单位编码“%1”的单位信息文件不在所检查的文件中").arg(unitCode)});
        } else if (unit.value() != unitName) {
            found.emplace_back(report.order,
                               CheckFinding{path(report), unitNameKind(),
                                            QStringLiteral("报表中的单位名称“%1”与单位信息文件中的“%2”不同").arg(unitName, unit.value())});
        }
    }
    found.insert(found.end(), unitConflicts_.cbegin(), unitConflicts_.cend());
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return found;
}
