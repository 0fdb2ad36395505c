// The window as the model's view: what the model shows goes to the controls.
#include "window/main_window_view.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "gauge/vantor_gauge.h"
#include "window/byte_text.h"
#include "window/history_combo.h"

namespace pellimar {

QtMainWindowView::QtMainWindowView(QWidget& window, const MainWindowUi& ui) : window_(window), ui(ui) {}

std::string QtMainWindowView::BoxText(HistoryBox box) const
{
    return ui.Box(box)->Bytes();
}

void QtMainWindowView::SetBoxText(HistoryBox box, const std::string& text)
{
    ui.Box(box)->SetBytes(text);
}

void QtMainWindowView::ShowHistory(HistoryBox box, const std::vector<std::string>& entries)
{
    ui.Box(box)->SetHistory(entries);
}

void QtMainWindowView::FocusBox(HistoryBox box)
{
    ui.Box(box)->setFocus();
}

bool QtMainWindowView::OptionChecked(Preference option) const
{
    return ui.checkBoxes[static_cast<int>(option)]->isChecked();
}

void QtMainWindowView::SetOptionChecked(Preference option, bool checked)
{
    ui.checkBoxes[static_cast<int>(option)]->setChecked(checked);
}

void QtMainWindowView::SetBeginCaption(const std::string& caption)
{
    ui.beginButton->setText(QString::fromStdString(caption));
    // "&Cancel" keeps Alt+C; Alt+B is the menu's shortcut.
    if (caption == kBeginCaption)
        ui.beginButton->setShortcut(QKeySequence());
}

void QtMainWindowView::EnableBegin(bool enabled)
{
    ui.beginButton->setEnabled(enabled);
}

void QtMainWindowView::EnableRunControls(bool enabled)
{
    ui.exitButton->setEnabled(enabled);
    ui.Action(Command::UsingPellimar)->setEnabled(enabled);
    ui.Action(Command::AboutPellimar)->setEnabled(enabled);
}

void QtMainWindowView::ShowMenuState(const MenuState& state)
{
    for (int i = 0; i < kCommandCount; ++i)
        ui.commandActions[i]->setEnabled(state.enabled[i]);
    ui.Action(Command::BeginOrCancel)->setText(QString::fromStdString(state.beginCaption) + "\tAlt+B");
}

void QtMainWindowView::ShowPreferenceMarks(const Preferences& preferences)
{
    for (const PreferenceRow& row : PreferenceRows(PreferenceKind::MenuItem))
        ui.preferenceActions[static_cast<int>(row.preference)]->setChecked(preferences.On(row.preference));
}

void QtMainWindowView::ShowGauge(bool visible)
{
    ui.ProgBar1->setVisible(visible);
}

void QtMainWindowView::SetGaugeProgress(std::int32_t percent)
{
    ui.ProgBar1->SetProgress(percent);
}

void QtMainWindowView::ShowTimeReadouts(bool visible)
{
    for (QLabel* label : {ui.lblStaticET, ui.lblStaticRT, ui.lblET, ui.lblRT})
        label->setVisible(visible);
}

void QtMainWindowView::SetTimeReadouts(const std::string& elapsed, const std::string& remaining)
{
    ui.lblET->setText(QString::fromStdString(elapsed));
    ui.lblRT->setText(QString::fromStdString(remaining));
}

void QtMainWindowView::ShowBusyCursor(bool busy)
{
    if (busy)
        window_.setCursor(Qt::WaitCursor);
    else
        window_.unsetCursor();
}

void QtMainWindowView::SetCaption(const std::string& caption)
{
    window_.setWindowTitle(TextFromUtf8(caption));
}

void QtMainWindowView::ProcessPendingEvents()
{
    QApplication::processEvents();
}

void QtMainWindowView::CloseWindow()
{
    window_.close();
}

}  // namespace pellimar
