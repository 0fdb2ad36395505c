// The window as the model's view: what the model shows goes to the controls,
// and the window's own events (show, close, drops, keys in the boxes) go to
// the model.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "gauge/vantor_gauge.h"
#include "window/byte_text.h"
#include "window/file_drop.h"
#include "window/history_combo.h"
#include "window/main_window.h"

namespace pellimar {

HistoryComboBox* TZUDIzazu::Box(HistoryBox box) const
{
    return ui.HistoryBoxes()[BoxIndex(box)];
}

std::optional<HistoryBox> TZUDIzazu::BoxOf(const QObject* watched) const
{
    const auto boxes = ui.HistoryBoxes();
    for (int i = 0; i < kHistoryBoxCount; ++i) {
        if (watched == boxes[i])
            return static_cast<HistoryBox>(i);
    }
    return std::nullopt;
}

std::string TZUDIzazu::BoxText(HistoryBox box) const
{
    return Box(box)->Bytes();
}

void TZUDIzazu::SetBoxText(HistoryBox box, const std::string& text)
{
    Box(box)->SetBytes(text);
}

void TZUDIzazu::ShowHistory(HistoryBox box, const std::vector<std::string>& entries)
{
    Box(box)->SetHistory(entries);
}

void TZUDIzazu::FocusBox(HistoryBox box)
{
    Box(box)->setFocus();
}

bool TZUDIzazu::OptionChecked(Preference option) const
{
    return ui.checkBoxes[static_cast<int>(option)]->isChecked();
}

void TZUDIzazu::SetOptionChecked(Preference option, bool checked)
{
    ui.checkBoxes[static_cast<int>(option)]->setChecked(checked);
}

void TZUDIzazu::SetBeginCaption(const std::string& caption)
{
    ui.beginButton->setText(QString::fromStdString(caption));
    // "&Cancel" keeps Alt+C; Alt+B is the menu's shortcut.
    if (caption == kBeginCaption)
        ui.beginButton->setShortcut(QKeySequence());
}

void TZUDIzazu::EnableBegin(bool enabled)
{
    ui.beginButton->setEnabled(enabled);
}

void TZUDIzazu::EnableRunControls(bool enabled)
{
    ui.exitButton->setEnabled(enabled);
    ui.Action(Command::UsingPellimar)->setEnabled(enabled);
    ui.Action(Command::AboutPellimar)->setEnabled(enabled);
}

void TZUDIzazu::ShowMenuState(const MenuState& state)
{
    for (int i = 0; i < kCommandCount; ++i)
        ui.commandActions[i]->setEnabled(state.enabled[i]);
    ui.Action(Command::BeginOrCancel)->setText(QString::fromStdString(state.beginCaption) + "\tAlt+B");
}

void TZUDIzazu::ShowPreferenceMarks(const Preferences& preferences)
{
    for (const PreferenceRow& row : PreferenceRows(PreferenceKind::MenuItem))
        ui.preferenceActions[static_cast<int>(row.preference)]->setChecked(preferences.On(row.preference));
}

void TZUDIzazu::ShowGauge(bool visible)
{
    ui.ProgBar1->setVisible(visible);
}

void TZUDIzazu::SetGaugeProgress(std::int32_t percent)
{
    ui.ProgBar1->SetProgress(percent);
}

void TZUDIzazu::ShowTimeReadouts(bool visible)
{
    for (QLabel* label : {ui.lblStaticET, ui.lblStaticRT, ui.lblET, ui.lblRT})
        label->setVisible(visible);
}

void TZUDIzazu::SetTimeReadouts(const std::string& elapsed, const std::string& remaining)
{
    ui.lblET->setText(QString::fromStdString(elapsed));
    ui.lblRT->setText(QString::fromStdString(remaining));
}

void TZUDIzazu::ShowBusyCursor(bool busy)
{
    if (busy)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

void TZUDIzazu::SetCaption(const std::string& caption)
{
    setWindowTitle(TextFromUtf8(caption));
}

void TZUDIzazu::ProcessPendingEvents()
{
    QApplication::processEvents();
}

void TZUDIzazu::CloseWindow()
{
    close();
}

void TZUDIzazu::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    CenterOnScreen();
    model_.FirstShown();
}

void TZUDIzazu::CenterOnScreen()
{
    if (const QScreen* screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        move(available.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
}

void TZUDIzazu::closeEvent(QCloseEvent* event)
{
    if (model_.CloseRequested())
        event->accept();
    else
        event->ignore();
}

void TZUDIzazu::dragEnterEvent(QDragEnterEvent* event)
{
    AcceptFileDrag(event);
}

void TZUDIzazu::dropEvent(QDropEvent* event)
{
    if (AcceptFileDrag(event))
        model_.FilesDropped(DroppedFilePaths(event->mimeData()));
}

bool TZUDIzazu::eventFilter(QObject* watched, QEvent* event)
{
    const std::optional<HistoryBox> box = BoxOf(watched);
    if (box && event->type() == QEvent::KeyPress && BoxKeyPressed(*box, *static_cast<QKeyEvent*>(event)))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

bool TZUDIzazu::BoxKeyPressed(HistoryBox box, const QKeyEvent& key)
{
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
        model_.EnterInBox(box);
        return true;  // Enter never edits or beeps
    }
    if (key.key() == Qt::Key_Delete && (key.modifiers() & Qt::ControlModifier)) {
        model_.DeleteShownEntry(box);
        return true;
    }
    const QString text = key.text();
    return text.size() == 1 && text[0].unicode() < 0x80 &&
           !model_.AcceptsTypedCharacter(box, static_cast<char>(text[0].unicode()));
}

}  // namespace pellimar
