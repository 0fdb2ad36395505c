// The main window's controls, as the window builds them and its view draws
// on them.
#pragma once

#include <array>

#include "run/preferences.h"
#include "window_model/commands.h"
#include "window_model/history_boxes.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;

namespace pellimar {

class TVantorGauge;
class HistoryComboBox;

// The window's controls, under the names the window's code gives them.
struct MainWindowUi {
    std::array<HistoryComboBox*, kLevelCount> LevelBoxes{};
    HistoryComboBox* pageCB = nullptr;
    HistoryComboBox* refCB = nullptr;
    HistoryComboBox* inEdit = nullptr;
    HistoryComboBox* outEdit = nullptr;
    QPushButton* beginButton = nullptr;
    QPushButton* exitButton = nullptr;
    QToolButton* inputBrowseButton = nullptr;
    QToolButton* outputBrowseButton = nullptr;
    QGroupBox* levelGroup = nullptr;
    QGroupBox* filesGroup = nullptr;
    QGroupBox* optionsGroup = nullptr;
    TVantorGauge* ProgBar1 = nullptr;
    QLabel* lblStaticET = nullptr;
    QLabel* lblStaticRT = nullptr;
    QLabel* lblET = nullptr;
    QLabel* lblRT = nullptr;
    QMenu* fileMenu = nullptr;
    QMenu* preferencesMenu = nullptr;
    std::array<QAction*, kCommandCount> commandActions{};
    // Indexed by preference: its check box, or its item of File >
    // Preferences, as the preference's kind has it.
    std::array<QCheckBox*, kPreferenceCount> checkBoxes{};
    std::array<QAction*, kPreferenceCount> preferenceActions{};

    QAction* Action(Command command) const { return commandActions[static_cast<int>(command)]; }
    // The eleven drop-down boxes with a history, in the order of HistoryBox.
    std::array<HistoryComboBox*, kHistoryBoxCount> HistoryBoxes() const;
    HistoryComboBox* Box(HistoryBox box) const { return HistoryBoxes()[BoxIndex(box)]; }
};

}  // namespace pellimar
