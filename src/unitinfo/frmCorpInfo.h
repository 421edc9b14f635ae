#pragma once

#include "core/XmlDocument.h"
#include "unitinfo/HoldingsCheck.h"
#include "core/UnitInfoFields.h"

#include <QByteArray>
#include <QDialog>
#include <array>

class CodedList;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

// The unit information dialog ("单位信息"). The caller sets allowCancel, shows it with
// ui::current().runModal() and continues once it is done (a successful Save accepts, leaving
// rejects): a successful Save has then
// written <unit code>.dw and <unit code>.htm and updated Module1::UnitCode, UnitName and
// UnitReportUser, and allowCancel is true. Without allowCancel (the start-up's forced
// mode) the dialog cannot be left except by a successful Save.
class frmCorpInfo : public QDialog {
    Q_OBJECT
public:
    explicit frmCorpInfo(QWidget* parent = nullptr);
    ~frmCorpInfo() override;

    // In: whether the user may leave without saving. Set to true by a successful Save.
    bool allowCancel = true;

    // The document being edited; its root element is the context of every lookup.
    xml::XmlDocumentPtr UnitInfoDocument;

    // The unit information file (html false) or its page (html true) for Module1::UnitCode;
    // the template itself when there is no unit code.
    static QString UnitInfoFileName(bool html);

    // Every field between the dialog and UnitInfoDocument. Dialog -> document runs the
    // holdings checks first (false: their message was shown, nothing written) and stamps
    // the unit code, unit name and today's date into the header.
    bool BindUnitInfo(bool toDocument);
    // Loads the unit's file, or the template when that fails, and shows it.
    void LoadUnitInfo();
    // Rebuilds the document from the template and the dialog, writes the file and the page.
    bool SaveUnitInfo();
    // The page of UnitInfoDocument, in the bytes of the stylesheet's declared encoding; empty
    // when the stylesheet cannot be loaded (after its message) or the transformation fails.
    QByteArray RenderUnitInfoHtml();
    bool CheckHoldings();

    void Form_Load();
    void Command1_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    // True when a close must be refused (the message has been shown).
    bool Form_QueryUnload();

    QString unitInfoFile() const { return unitInfoFile_; }
    QString templatePath() const { return templatePath_; }

    QTabWidget* tabs() const { return SSTab1; }
    QPushButton* okButton() const { return cmdOK; }
    QPushButton* cancelButton() const { return cmdCancel; }
    QPushButton* descriptionButton() const { return Command1; }
    QPlainTextEdit* descriptionBox() const { return Text25; }
    // The controls by their names, e.g. "Text9(2)" or "Combo3(4)"; null for unknown names.
    QLineEdit* textBox(const QString& name) const;
    CodedList* codedList(const QString& name) const;
    // Every control of the field table, in its order (buttons and Text25 included).
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

    QTabWidget* SSTab1 = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* Command1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text27 = nullptr;
    QPlainTextEdit* Text25 = nullptr;
    std::array<QWidget*, UnitInfoFields::kFieldCount> widgets_{}; // aligned with UnitInfoFields::fields()

    QString templatePath_;
    QString unitInfoFile_;
};
