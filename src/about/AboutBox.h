#pragma once

#include "Version.h"

#include "platform/SystemInfoLauncher.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

// The about box: title, version, the notice of ownership and permitted use, a warning
// against unauthorised copying, and a button that starts the system-information tool.
// Shown modally without an owner; OK and Enter accept it, Esc rejects it.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

    static const QString kProgramTitle;
    static constexpr int kMajorVersion = VANTREL_VERSION_MAJOR;
    static constexpr int kMinorVersion = VANTREL_VERSION_MINOR;
    static constexpr int kRevision = VANTREL_VERSION_PATCH;

    // Replaces the registry and launcher the system-information button uses.
    void setSystemInfoLauncher(const platform::SystemInfoLauncher& launcher) { sysInfo_ = launcher; }

    void prepare();
    void startSystemInfo();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void confirm();
    void startSystemInfoFromButton();

    QLabel* iconLabel_;
    QLabel* titleLabel_;
    QLabel* versionLabel_;
    QLabel* descriptionLabel_;
    QLabel* disclaimerLabel_;
    QFrame* upperLine_;
    QFrame* lowerLine_;
    QPushButton* okButton_;
    QPushButton* systemInfoButton_;
    platform::SystemInfoLauncher sysInfo_;
};
