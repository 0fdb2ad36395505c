// The window's small commands: file dialogs, menu handlers, preferences,
// About and Help, the drop-down histories and the rule that enables Begin.
#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QPushButton>

#include "window/history_combo.h"
#include "window/main_window.h"

namespace pellimar {
namespace {

const char* const kAboutLines[] = {
    "Folio Flat File Pellimar",
    "For use with Views 3.1 Flat File code.",
    "",
    "Version 1.2",
    "First released in 1998. (c) 2026 The Pellimar developers, under the MIT licence.",
    "",
    "For current information see the project's home page.",
    "Concept: the Pellimar editors.",
    "Programming: the Pellimar developers.",
};

}  // namespace

void TZUDIzazu::Button1Click()
{
    close();
}

void TZUDIzazu::SpeedButton1Click()
{
    if (services_.dialogs->OpenFile(ui.OpenDialog1)) {
        ui.inEdit->SetBytes(ui.OpenDialog1.fileName);
        ui.SaveDialog1.fileName = ui.OpenDialog1.fileName;
        ui.inEdit->setFocus();
    }
    UpdateBeginButton();
}

void TZUDIzazu::SpeedButton3Click()
{
    ui.SaveDialog1.overwritePrompt = false;  // the run asks before overwriting
    if (services_.dialogs->SaveFile(ui.SaveDialog1)) {
        ui.outEdit->SetBytes(ui.SaveDialog1.fileName);
        ui.outEdit->setFocus();
    }
    UpdateBeginButton();
}

void TZUDIzazu::File1Click()
{
    ui.Begin1->setText(ui.Button2->text() + "\tAlt+B");
    ui.Begin1->setEnabled(ui.Button2->isEnabled());
    ui.Preview1->setEnabled(!FRunning && !ui.inEdit->Bytes().empty() && !ui.refCB->Bytes().empty());
    ui.Exit1->setEnabled(ui.Button1->isEnabled());
}

void TZUDIzazu::Preferences1Click()
{
    ui.LJO1->setChecked(FLeftJustOnly);
    ui.SPM1->setChecked(FShowProgMeter);
    ui.UHR1->setChecked(FUseHR);
    ui.IDR1->setChecked(FIdRecords);
}

void TZUDIzazu::LJO1Click()
{
    FLeftJustOnly = !FLeftJustOnly;
}

void TZUDIzazu::SPM1Click()
{
    FShowProgMeter = !FShowProgMeter;
}

void TZUDIzazu::UHR1Click()
{
    FUseHR = !FUseHR;
}

void TZUDIzazu::IDR1Click()
{
    FIdRecords = !FIdRecords;
}

void TZUDIzazu::Button3Click()
{
    std::string text = kAboutLines[0];
    for (std::size_t i = 1; i < std::size(kAboutLines); ++i)
        text += std::string("\r") + kAboutLines[i];
    services_.dialogs->ShowMessage(MessageKind::Information, text, MessageButtons::Ok);
}

void TZUDIzazu::Button4Click()
{
    services_.dialogs->ShowHelp(services_.guidePath);
}

void TZUDIzazu::UpdateBeginButton()
{
    // While a run lasts the button is its Cancel button and must stay usable.
    if (FRunning)
        return;
    const std::string input = ui.inEdit->Bytes();
    const std::string output = ui.outEdit->Bytes();
    ui.Button2->setEnabled(!input.empty() && !output.empty() && output != input && !ui.refCB->Bytes().empty());
}

void TZUDIzazu::inEditExit(THistoryComboBox* sender)
{
    sender->AddShownText();
    UpdateBeginButton();
}

bool TZUDIzazu::outEditKeyDown(THistoryComboBox* sender, int key, Qt::KeyboardModifiers modifiers)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        sender->AddShownText();
        UpdateBeginButton();
        return true;  // Enter never edits or beeps
    }
    if (key == Qt::Key_Delete && (modifiers & Qt::ControlModifier)) {
        sender->RemoveShownEntry();
        UpdateBeginButton();
        return true;
    }
    return false;
}

bool TZUDIzazu::outEditKeyPress(THistoryComboBox* sender, const QString& text)
{
    return sender->FiltersBrackets() && (text == "[" || text == "]");
}

THistoryComboBox* TZUDIzazu::BoxOf(QObject* watched) const
{
    for (THistoryComboBox* box : ui.HistoryBoxes()) {
        if (watched == box)
            return box;
    }
    return nullptr;
}

bool TZUDIzazu::eventFilter(QObject* watched, QEvent* event)
{
    THistoryComboBox* box = BoxOf(watched);
    if (box == nullptr)
        return QMainWindow::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (outEditKeyDown(box, key->key(), key->modifiers()) || outEditKeyPress(box, key->text()))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace pellimar
