#pragma once

#include <QString>
#include <QStringList>

#include <libxslt/xsltInternals.h>

// Exact-decimal helpers for the printed pages, callable from the stylesheets in the
// namespace "urn:vantrel:page". XSLT 1.0 numbers are doubles (0.1 + 0.2 gives
// 0.30000000000000004); these read amounts the way the budget checks do and never
// write, fetch or touch anything outside the values they are given.
//
//   page:sum(node-set or string, ...)  the exact sum, with as many decimals as its most
//                                      precise addend; what is not an amount counts as 0
//   page:money(string)                 "1234567.5" as "1,234,567.5"; not an amount: "0"
//   page:compare(a, b)                 -1, 0 or 1 as the amounts compare
//   page:css-string(string)            the text as a quoted CSS string, safe in <style>
class PageFunctions {
public:
    static constexpr const char* kNamespace = "urn:vantrel:page";

    // Makes the functions known to one transformation; false when libxslt refused one.
    static bool registerOn(xsltTransformContextPtr context);

    static QString sum(const QStringList& amounts);
    static QString money(const QString& amount);
    static int compare(const QString& a, const QString& b);
    static QString cssString(const QString& text);
};
