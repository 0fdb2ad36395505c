// Building the window from the model's layout and menus: controls at their
// places, the menus, shortcuts and tab order.
#include "window/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>

#include "gauge/vantor_gauge.h"
#include "window/file_drop.h"
#include "window/history_combo.h"

namespace pellimar {
namespace {

// Under the client area's style sheet a font passes from a widget to those
// inside it only through the sheet's own rules, so the controls in the groups
// would show the application's font; they and their parts (a box's line edit
// and drop-down list) take the window's directly, before they are sized.
void TakeWindowFont(QWidget* control)
{
    const QFont font = control->window()->font();
    control->setFont(font);
    for (QWidget* part : control->findChildren<QWidget*>())
        part->setFont(font);
}

// Captions take at least the width of their text in the font Qt draws it
// with, so that no font or style cuts them off. A label takes exactly that:
// the layout's widths leave room for the fonts of Windows' scaled displays,
// which here would crowd the check box beside the reference pattern's label.
void FitCaption(QWidget* widget, bool exactly)
{
    QRect geometry = widget->geometry();
    const int needed = widget->sizeHint().width();
    geometry.setWidth(exactly ? needed : std::max(geometry.width(), needed));
    widget->setGeometry(geometry);
}

// A caption whose underlined letter is shown but claims no key: the letter
// of a menu shortcut, or of a control before it.
QString UnderlinedWithoutKey(const QString& caption)
{
    const qsizetype mark = caption.indexOf('&');
    if (mark < 0 || mark + 1 >= caption.size())
        return caption;
    return caption.left(mark) + "<u>" + caption[mark + 1] + "</u>" + caption.mid(mark + 2);
}

const char* BoxName(HistoryBox box)
{
    static const char* const names[] = {"L1CB", "L2CB",   "L3CB",  "L4CB",  "L5CB",  "L6CB",
                                        "L7CB", "pageCB", "refCB", "inEdit", "outEdit"};
    return names[BoxIndex(box)];
}

// The gauge XORs its percentage onto the bar: over the white empty part the
// text reads black, over the bar in the bar's inverse. A theme's mid-tone
// highlight inverts to a colour about as light as itself (blue to orange);
// navy, the classic active-caption colour, inverts to a pale yellow.
constexpr TColor kGaugeBarColor = MakeRGB(0, 0, 128);

QString MenuCaption(const MenuEntry& entry)
{
    QString caption = QString::fromUtf8(entry.caption);
    if (entry.shortcut != 0)
        caption += QString("\tAlt+") + QChar(entry.shortcut);
    return caption;
}

}  // namespace

TZUDIzazu::TZUDIzazu(WindowServices services)
    : TZUDIzazu(std::move(services), [](QWidget& window, const MainWindowUi& ui) {
          return std::make_unique<QtMainWindowView>(window, ui);
      })
{
}

TZUDIzazu::TZUDIzazu(WindowServices services, const ViewMaker& makeView)
    : view_(makeView(*this, ui)), model_(*view_, std::move(services))
{
    setObjectName("ZUDIzazu");
    setWindowTitle(kApplicationTitle);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    QFont font("Arial");
    font.setPixelSize(13);
    setFont(font);
    CreateControls();
    CreateMenus();
    CreateShortcuts();
    SetTabOrder();
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    setAcceptDrops(true);
    ForwardFileDragsOverBoxes(*this, model_, ui.HistoryBoxes());
}

TZUDIzazu::~TZUDIzazu() = default;

// Controls in a group box are its children, placed in its coordinates.
void TZUDIzazu::CreateControls()
{
    auto* client = new QWidget(this);
    // Group captions sit on the frame line, so the controls' places inside
    // the groups leave room for nothing else.
    client->setStyleSheet("QGroupBox { border: 1px solid palette(mid); border-radius: 0px; margin-top: 6px; }"
                          "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0px 2px; }");
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);
    auto* menuBevel = new QFrame(client);
    menuBevel->setFrameShape(QFrame::HLine);
    menuBevel->setFrameShadow(QFrame::Sunken);
    menuBevel->setGeometry(0, 0, kClientWidth, 3);
    const std::vector<ControlPlace>& layout = MainWindowLayout();
    for (const ControlPlace& place : layout) {
        QWidget* parent = place.group < 0 ? client : controls_[static_cast<std::size_t>(place.group)];
        const ControlPlace* group = place.group < 0 ? nullptr : &layout[static_cast<std::size_t>(place.group)];
        QWidget* control = CreateControl(place, parent);
        control->setGeometry(place.x - (group ? group->x : 0), place.y - (group ? group->y : 0), place.width,
                             place.height);
        if (place.kind == ControlKind::CheckBox || place.kind == ControlKind::SmallLabel)
            FitCaption(control, false);
        controls_.push_back(control);
        NameControl(place, control);
    }
    // Only a label with a buddy hides the "&" of its caption, so its box
    // comes before the label is measured.
    for (std::size_t i = 0; i < layout.size(); ++i) {
        if (layout[i].kind != ControlKind::Label)
            continue;
        auto* label = static_cast<QLabel*>(controls_[i]);
        if (!layout[i].letterTakenElsewhere && i + 1 < layout.size())
            label->setBuddy(controls_[i + 1]);
        FitCaption(label, true);
    }
    WireHistoryBoxes();
    WireButtons();
}

QWidget* TZUDIzazu::CreateControl(const ControlPlace& place, QWidget* parent)
{
    const QString text = QString::fromUtf8(place.text);
    switch (place.kind) {
    case ControlKind::Group: return new QGroupBox(text, parent);
    case ControlKind::Label: {
        auto* label = new QLabel(place.letterTakenElsewhere ? UnderlinedWithoutKey(text) : text, parent);
        TakeWindowFont(label);
        return label;
    }
    case ControlKind::SmallLabel: {
        auto* label = new QLabel(text, parent);
        QFont small("Arial");
        small.setPixelSize(11);
        label->setFont(small);
        label->hide();
        return label;
    }
    case ControlKind::Box: {
        const auto box = static_cast<HistoryBox>(static_cast<int>(place.id) - static_cast<int>(ControlId::FirstBox));
        auto* combo = new HistoryComboBox(parent, HoldsFileName(box) ? BoxText::Path : BoxText::Plain);
        TakeWindowFont(combo);
        return combo;
    }
    case ControlKind::CheckBox: {
        auto* check = new QCheckBox(text, parent);
        TakeWindowFont(check);
        if (place.letterTakenElsewhere)
            check->setShortcut(QKeySequence());
        return check;
    }
    case ControlKind::Button: {
        auto* button = new QPushButton(text, parent);
        button->setAutoDefault(false);
        button->setShortcut(QKeySequence());  // the letters are the menu's shortcuts
        return button;
    }
    case ControlKind::BrowseButton: {
        // Never takes the focus, so using it does not count as leaving a box.
        auto* button = new QToolButton(parent);
        TakeWindowFont(button);
        button->setText(text);
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    }
    case ControlKind::Gauge: {
        auto* gauge = new TVantorGauge(parent);
        gauge->SetColor(clBtnFace);
        gauge->SetForeColor(kGaugeBarColor);
        gauge->hide();
        return gauge;
    }
    }
    return new QWidget(parent);
}

void TZUDIzazu::NameControl(const ControlPlace& place, QWidget* control)
{
    if (place.kind == ControlKind::Group) {
        for (QGroupBox** group : {&ui.levelGroup, &ui.optionsGroup, &ui.filesGroup}) {
            if (*group == nullptr) {
                *group = static_cast<QGroupBox*>(control);
                break;
            }
        }
        return;
    }
    if (place.kind == ControlKind::Box) {
        const auto box = static_cast<HistoryBox>(static_cast<int>(place.id) - static_cast<int>(ControlId::FirstBox));
        control->setObjectName(BoxName(box));
        auto* combo = static_cast<HistoryComboBox*>(control);
        switch (box) {
        case HistoryBox::PagePattern: ui.pageCB = combo; break;
        case HistoryBox::RefPattern: ui.refCB = combo; break;
        case HistoryBox::InputFile: ui.inEdit = combo; break;
        case HistoryBox::OutputFile: ui.outEdit = combo; break;
        default: ui.LevelBoxes[BoxIndex(box)] = combo; break;
        }
        return;
    }
    if (place.preference) {
        ui.checkBoxes[static_cast<int>(*place.preference)] = static_cast<QCheckBox*>(control);
        return;
    }
    switch (place.id) {
    case ControlId::Begin: ui.beginButton = static_cast<QPushButton*>(control); break;
    case ControlId::Exit: ui.exitButton = static_cast<QPushButton*>(control); break;
    case ControlId::InputBrowse: ui.inputBrowseButton = static_cast<QToolButton*>(control); break;
    case ControlId::OutputBrowse: ui.outputBrowseButton = static_cast<QToolButton*>(control); break;
    case ControlId::Gauge: ui.ProgBar1 = static_cast<TVantorGauge*>(control); break;
    case ControlId::ElapsedCaption: ui.lblStaticET = static_cast<QLabel*>(control); break;
    case ControlId::RemainingCaption: ui.lblStaticRT = static_cast<QLabel*>(control); break;
    case ControlId::Elapsed: ui.lblET = static_cast<QLabel*>(control); break;
    case ControlId::Remaining: ui.lblRT = static_cast<QLabel*>(control); break;
    default: break;
    }
}

// Every box's keys and changes go to the model, and so does every move of
// the focus within the window, from which it tells a box left.
void TZUDIzazu::WireHistoryBoxes()
{
    for (HistoryComboBox* box : ui.HistoryBoxes())
        box->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now == nullptr || now->window() != this)
            return;
        std::optional<HistoryBox> box;
        // The focus may rest on a part of a box, such as its line edit.
        for (QWidget* widget = now; widget != nullptr && widget != this && !box; widget = widget->parentWidget())
            box = BoxOf(widget);
        model_.FocusReached(box);
    });
    for (int i = 0; i < kHistoryBoxCount; ++i) {
        const auto box = static_cast<HistoryBox>(i);
        connect(ui.Box(box), &QComboBox::editTextChanged, this, [this, box] { model_.BoxEdited(box); });
    }
}

void TZUDIzazu::WireButtons()
{
    ui.beginButton->setEnabled(false);
    const std::pair<QAbstractButton*, Command> buttons[] = {
        {ui.beginButton, Command::BeginOrCancel},
        {ui.exitButton, Command::Exit},
        {ui.inputBrowseButton, Command::InputFile},
        {ui.outputBrowseButton, Command::OutputFile},
    };
    for (const auto& [button, command] : buttons)
        connect(button, &QAbstractButton::clicked, this, [this, command = command] { model_.Carry(command); });
}

void TZUDIzazu::CreateMenus()
{
    for (const Menu& menu : MainMenus()) {
        QMenu* shown = menuBar()->addMenu(QString::fromUtf8(menu.caption));
        for (const MenuEntry& entry : menu.entries)
            AddMenuEntry(shown, entry);
        if (ui.fileMenu == nullptr) {
            ui.fileMenu = shown;
            connect(shown, &QMenu::aboutToShow, this, [this] { model_.FileMenuOpening(); });
        }
    }
}

void TZUDIzazu::AddMenuEntry(QMenu* menu, const MenuEntry& entry)
{
    if (entry.caption == nullptr) {
        menu->addSeparator();
    } else if (!entry.command) {
        CreatePreferencesMenu(menu);
    } else {
        QAction* action = menu->addAction(MenuCaption(entry));
        ui.commandActions[static_cast<int>(*entry.command)] = action;
        connect(action, &QAction::triggered, this, [this, command = *entry.command] { model_.Carry(command); });
    }
}

void TZUDIzazu::CreatePreferencesMenu(QMenu* fileMenu)
{
    ui.preferencesMenu = fileMenu->addMenu(QString::fromUtf8(PreferencesMenu().caption));
    connect(ui.preferencesMenu, &QMenu::aboutToShow, this, [this] { model_.PreferencesMenuOpening(); });
    for (const PreferenceRow& row : PreferenceRows(PreferenceKind::MenuItem)) {
        QAction* action = ui.preferencesMenu->addAction(QString::fromUtf8(row.caption));
        action->setCheckable(true);
        ui.preferenceActions[static_cast<int>(row.preference)] = action;
        connect(action, &QAction::triggered, this,
                [this, preference = row.preference] { model_.TogglePreference(preference); });
    }
    for (const MenuEntry& entry : PreferencesMenu().entries)
        AddMenuEntry(ui.preferencesMenu, entry);
}

void TZUDIzazu::CreateShortcuts()
{
    for (const Menu& menu : MainMenus()) {
        for (const MenuEntry& entry : menu.entries) {
            if (entry.shortcut == 0)
                continue;
            auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | (Qt::Key_A + (entry.shortcut - 'A'))), this);
            connect(shortcut, &QShortcut::activated, this,
                    [this, command = *entry.command] { model_.ShortcutPressed(command); });
        }
    }
}

// In the layout's order, which is the window's order of controls.
void TZUDIzazu::SetTabOrder()
{
    QWidget* previous = nullptr;
    const std::vector<ControlPlace>& layout = MainWindowLayout();
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const ControlKind kind = layout[i].kind;
        if (kind != ControlKind::Box && kind != ControlKind::CheckBox && kind != ControlKind::Button)
            continue;
        if (previous != nullptr)
            setTabOrder(previous, controls_[i]);
        previous = controls_[i];
    }
}

}  // namespace pellimar
