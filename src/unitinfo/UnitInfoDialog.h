#pragma once

#include "core/XmlDocument.h"
#include "unitinfo/HoldingsCheck.h"
#include "core/UnitInfoFields.h"

#include <QByteArray>
#include <QDialog>
#include <array>

class CodedList;
struct Settings;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

// The unit information dialog ("单位信息"). The caller sets allowCancel, shows it with
// ui::current().runModal() and continues once it is done (a successful Save accepts, leaving
// rejects): a successful Save has then
// written <unit code>.dw and <unit code>.htm and updated the settings' unit code, unit
// name and filler, and allowCancel is true. Without allowCancel (the start-up's forced
// mode) the dialog cannot be left except by a successful Save.
class UnitInfoDialog : public QDialog {
    Q_OBJECT
public:
    explicit UnitInfoDialog(Settings& settings, QWidget* parent = nullptr);
    ~UnitInfoDialog() override;

    // In: whether the user may leave without saving. Set to true by a successful Save.
    bool allowCancel = true;

    // The document being edited; its root element is the context of every lookup.
    xml::XmlDocumentPtr document;

    // The unit information file (html false) or its page (html true) for the unit code;
    // the template itself when there is no unit code.
    QString unitInfoFileName(bool html) const;

    // Every field between the dialog and document. Dialog -> document runs the
    // holdings checks first (false: their message was shown, nothing written) and stamps
    // the unit code, unit name and today's date into the header.
    bool transferFields(bool toDocument);
    // Loads the unit's file, or the template when that fails, and shows it.
    void loadUnitInfo();
    // Rebuilds the document from the template and the dialog, writes the file and the page.
    bool saveUnitInfo();
    // The page of document, in the bytes of the stylesheet's declared encoding; empty
    // when the stylesheet cannot be loaded (after its message) or the transformation fails.
    QByteArray renderPage();
    bool checkHoldings();

    void prepare();
    void editDescription();
    void confirm();
    void cancel();
    // True when a close must be refused (the message has been shown).
    bool refusesClose();

    QString unitInfoFile() const { return unitInfoFile_; }
    QString templatePath() const { return templatePath_; }

    QTabWidget* tabs() const { return tabs_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QPushButton* descriptionButton() const { return descriptionButton_; }
    QPlainTextEdit* descriptionBox() const { return descriptionBox_; }
    // The controls by their names, e.g. "Text9(2)" or "Combo3(4)"; null for unknown names.
    QLineEdit* textBox(const QString& name) const;
    CodedList* codedList(const QString& name) const;
    // Every control of the field table, in its order (buttons and descriptionBox_ included).
    const std::array<QWidget*, UnitInfoFields::kFieldCount>& fieldWidgets() const { return widgets_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void buildTabs();
    HoldingsBoxes holdingsBoxes() const;
    bool writePage();

    QTabWidget* tabs_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* descriptionButton_ = nullptr;
    QLineEdit* unitCodeBox_ = nullptr;
    QLineEdit* unitNameBox_ = nullptr;
    QLineEdit* reportUserBox_ = nullptr;
    QPlainTextEdit* descriptionBox_ = nullptr;
    std::array<QWidget*, UnitInfoFields::kFieldCount> widgets_{}; // aligned with UnitInfoFields::fields()

    Settings& settings_;
    QString templatePath_;
    QString unitInfoFile_;
};
