#include "check/CrossFileChecks.h"

#include <algorithm>
#include <cstring>

QString CrossFileChecks::duplicateKind() { return QStringLiteral("重复项目"); }
QString CrossFileChecks::missingUnitKind() { return QStringLiteral("缺少单位文件"); }
QString CrossFileChecks::unitNameKind() { return QStringLiteral("单位名称不符"); }

QString CrossFileChecks::shared(const QString& text)
{
    const auto found = sharedTexts_.constFind(text);
    if (found != sharedTexts_.constEnd())
        return found.value();
    sharedTexts_.insert(text, text);
    return text;
}

void CrossFileChecks::addReport(qint64 order, const QString& path, const ReportRow& row)
{
    quint64 hash = 0;
    std::memcpy(&hash, row.contentHash.constData(), std::min<size_t>(sizeof hash, size_t(row.contentHash.size())));
    reports_.push_back({order, hash, path.toUtf8(), shared(row.unitCode), row.projectCode, shared(row.unitName)});
}

void CrossFileChecks::addUnit(const UnitRow& row)
{
    if (!row.unitCode.isEmpty() && !unitNames_.contains(row.unitCode))
        unitNames_.insert(row.unitCode, row.unitName);
}

std::vector<std::pair<qint64, CheckFinding>> CrossFileChecks::findings() const
{
    std::vector<std::pair<qint64, CheckFinding>> found;
    QHash<QString, const Entry*> firstOfProject;
    QHash<QString, bool> firstFlagged;
    for (const Entry& report : reports_) {
        if (!report.unitCode.isEmpty() && !report.projectCode.isEmpty()) {
            const QString key = report.unitCode + QChar(0) + report.projectCode;
            const Entry* first = firstOfProject.value(key);
            if (!first) {
                firstOfProject.insert(key, &report);
            } else if (first->hash != report.hash) {
                const QString same = QStringLiteral("单位编码“%1”、项目编号“%2”与“%3”相同，内容不同");
                found.emplace_back(report.order, CheckFinding{QString::fromUtf8(report.path), duplicateKind(),
                                                              same.arg(report.unitCode, report.projectCode, QString::fromUtf8(first->path))});
                if (!firstFlagged.value(key)) {
                    firstFlagged.insert(key, true);
                    found.emplace_back(first->order, CheckFinding{QString::fromUtf8(first->path), duplicateKind(),
                                                                  same.arg(report.unitCode, report.projectCode, QString::fromUtf8(report.path))});
                }
            }
        }
        if (report.unitCode.isEmpty())
            continue;
        const auto unit = unitNames_.constFind(report.unitCode);
        if (unit == unitNames_.constEnd()) {
            found.emplace_back(report.order,
                               CheckFinding{QString::fromUtf8(report.path), missingUnitKind(),
                                            QStringLiteral("单位编码“%1”的单位信息文件不在所检查的文件中").arg(report.unitCode)});
        } else if (unit.value() != report.unitName) {
            found.emplace_back(report.order,
                               CheckFinding{QString::fromUtf8(report.path), unitNameKind(),
                                            QStringLiteral("报表中的单位名称“%1”与单位信息文件中的“%2”不同")
                                                .arg(report.unitName, unit.value())});
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return found;
}
