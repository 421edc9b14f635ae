#pragma once

#include <QString>

// One problem found in the inputs: the file it concerns, what kind of problem it is and
// the message a clerk reads. Every text is Chinese, as the bureau's clerks read them.
struct CheckFinding {
    QString path;
    QString kind;
    QString message;
};
