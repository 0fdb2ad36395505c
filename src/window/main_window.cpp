// Building the window: controls at their places, the menu, shortcuts and tab
// order.
#include "window/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTime>
#include <QToolButton>

#include "gauge/vantor_gauge.h"
#include "window/box_exit_watch.h"
#include "window/file_drop.h"
#include "window/history_combo.h"

namespace pellimar {
namespace {

// The client area below the menu bar; with a 3-pixel dialog frame, a 19-pixel
// caption and a 19-pixel menu bar it makes a 435 x 334 window.
constexpr int kClientWidth = 429;
constexpr int kClientHeight = 290;

// The Options and Files groups take 12 pixels from the level group, whose
// boxes have room to spare, so that in the Options group the labels, the
// check boxes beside them and the group's frame keep clear of each other.
constexpr int kRightGroupsLeft = 181;
constexpr int kRightGroupsWidth = 240;
constexpr int kRightBoxWidth = 205;
constexpr int kCheckBoxLeft = 128;

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

// Captions size themselves to their text, never narrower than designed, so
// that no font or style cuts them off.
void PlaceCaption(QWidget* widget, QRect geometry)
{
    TakeWindowFont(widget);
    geometry.setWidth(std::max(geometry.width(), widget->sizeHint().width()));
    widget->setGeometry(geometry);
}

QLabel* MakeLabel(QWidget* parent, const char* caption, QRect geometry, QWidget* buddy = nullptr)
{
    auto* label = new QLabel(QString::fromLatin1(caption), parent);
    // Only a label with a buddy hides the "&" of its caption, so the buddy
    // comes before the label is measured.
    if (buddy != nullptr)
        label->setBuddy(buddy);
    PlaceCaption(label, geometry);
    return label;
}

// A caption whose underlined letter is shown but claims no key (the menu's
// shortcut of the same letter does the work).
QLabel* MakeUnderlinedLabel(QWidget* parent, const char* before, char underlined, const char* after, QRect geometry)
{
    auto* label = new QLabel(QString("%1<u>%2</u>%3").arg(before).arg(underlined).arg(after), parent);
    label->setTextFormat(Qt::RichText);
    PlaceCaption(label, geometry);
    return label;
}

THistoryComboBox* MakeHistoryBox(QWidget* parent, const QString& name, BoxText kind, QRect geometry)
{
    auto* box = new THistoryComboBox(parent, kind);
    TakeWindowFont(box);
    box->setObjectName(name);
    box->setGeometry(geometry);
    return box;
}

// The "+" beside a file box: a button that never takes the focus, so using
// it does not count as leaving the box.
QToolButton* MakeBrowseButton(QWidget* parent, QRect geometry)
{
    auto* button = new QToolButton(parent);
    TakeWindowFont(button);
    button->setText("+");
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(geometry);
    return button;
}

// The gauge XORs its percentage onto the bar: over the white empty part the
// text reads black, over the bar in the bar's inverse. A theme's mid-tone
// highlight inverts to a colour about as light as itself (blue to orange);
// navy, the classic active-caption colour, inverts to a pale yellow.
constexpr TColor kGaugeBarColor = MakeRGB(0, 0, 128);

std::int64_t LocalTimeOfDayMs()
{
    return QTime::currentTime().msecsSinceStartOfDay();
}

// The services with the system's clock unless a test gave its own.
WindowServices WithClock(WindowServices services)
{
    if (!services.clock)
        services.clock = LocalTimeOfDayMs;
    return services;
}

}  // namespace

std::array<THistoryComboBox*, kHistoryBoxCount> MainWindowUi::HistoryBoxes() const
{
    std::array<THistoryComboBox*, kHistoryBoxCount> boxes{};
    std::copy(LevelBoxes.begin(), LevelBoxes.end(), boxes.begin());
    boxes[kLevelCount] = pageCB;
    boxes[kLevelCount + 1] = refCB;
    boxes[kLevelCount + 2] = inEdit;
    boxes[kLevelCount + 3] = outEdit;
    return boxes;
}

TZUDIzazu::TZUDIzazu(WindowServices services)
    : model_(*this, WithClock(std::move(services)))
{
    setObjectName("ZUDIzazu");
    setWindowTitle(kApplicationTitle);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    QFont font("Arial");
    font.setPixelSize(13);
    setFont(font);
    CreateControls();
    CreateMenu();
    CreateShortcuts();
    SetTabOrder();
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    setAcceptDrops(true);
    ForwardFileDragsOverBoxes(*this, model_, ui.HistoryBoxes());
}

TZUDIzazu::~TZUDIzazu() = default;

void TZUDIzazu::CreateControls()
{
    auto* client = new QWidget(this);
    // Group captions sit on the frame line, so the controls' places inside
    // the groups leave room for nothing else.
    client->setStyleSheet("QGroupBox { border: 1px solid palette(mid); border-radius: 0px; margin-top: 6px; }"
                          "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0px 2px; }");
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);
    ui.menuBevel = new QFrame(client);
    ui.menuBevel->setFrameShape(QFrame::HLine);
    ui.menuBevel->setFrameShadow(QFrame::Sunken);
    ui.menuBevel->setGeometry(0, 0, kClientWidth, 3);
    CreateLevelGroup();
    CreateOptionsGroup();
    CreateFilesGroup();
    CreateButtons();
    CreateProgressDisplay();
    WireHistoryBoxes();
}

void TZUDIzazu::CreateLevelGroup()
{
    ui.levelGroup = new QGroupBox("Level Names:", centralWidget());
    ui.levelGroup->setGeometry(7, 2, 170, 232);
    for (int n = 1; n <= kLevelCount; ++n) {
        auto* box = MakeHistoryBox(ui.levelGroup, QString("L%1CB").arg(n), BoxText::Plain,
                                   QRect(28, 20 + 30 * (n - 1), 133, 24));
        const std::string caption = "&" + std::to_string(n) + ":";
        MakeLabel(ui.levelGroup, caption.c_str(), QRect(10, 24 + 30 * (n - 1), 11, 16), box);
        ui.LevelBoxes[n - 1] = box;
    }
}

void TZUDIzazu::CreateOptionsGroup()
{
    ui.optionsGroup = new QGroupBox("Options:", centralWidget());
    ui.optionsGroup->setGeometry(kRightGroupsLeft, 2, kRightGroupsWidth, 118);
    ui.pageCB = MakeHistoryBox(ui.optionsGroup, "pageCB", BoxText::Plain, QRect(8, 38, kRightBoxWidth, 24));
    MakeLabel(ui.optionsGroup, "&Page # Pattern:", QRect(8, 18, 91, 16), ui.pageCB);
    ui.cbRemove = new QCheckBox("&Remove #'s", ui.optionsGroup);
    PlaceCaption(ui.cbRemove, QRect(kCheckBoxLeft, 18, 87, 18));
    // Alt+R belongs to the reference-pattern label, which comes first.
    ui.cbRemove->setShortcut(QKeySequence());
    ui.refCB = MakeHistoryBox(ui.optionsGroup, "refCB", BoxText::Plain, QRect(8, 86, kRightBoxWidth, 24));
    MakeLabel(ui.optionsGroup, "&Reference Pattern:", QRect(8, 66, 108, 16), ui.refCB);
    ui.cbSearch = new QCheckBox("Not &Searched", ui.optionsGroup);
    PlaceCaption(ui.cbSearch, QRect(kCheckBoxLeft, 66, 100, 18));
}

void TZUDIzazu::CreateFilesGroup()
{
    ui.filesGroup = new QGroupBox("Files:", centralWidget());
    ui.filesGroup->setGeometry(kRightGroupsLeft, 121, kRightGroupsWidth, 113);
    MakeUnderlinedLabel(ui.filesGroup, "", 'I', "nput File:", QRect(8, 16, 57, 16));
    ui.inEdit = MakeHistoryBox(ui.filesGroup, "inEdit", BoxText::Path, QRect(8, 35, kRightBoxWidth, 24));
    ui.inputBrowseButton = MakeBrowseButton(ui.filesGroup, QRect(9 + kRightBoxWidth, 35, 17, 23));
    MakeUnderlinedLabel(ui.filesGroup, "", 'O', "utput File:", QRect(8, 62, 68, 16));
    ui.outEdit = MakeHistoryBox(ui.filesGroup, "outEdit", BoxText::Path, QRect(8, 81, kRightBoxWidth, 24));
    ui.outputBrowseButton = MakeBrowseButton(ui.filesGroup, QRect(9 + kRightBoxWidth, 81, 17, 23));
    connect(ui.inputBrowseButton, &QToolButton::clicked, this, [this] { model_.ChooseInputFile(); });
    connect(ui.outputBrowseButton, &QToolButton::clicked, this, [this] { model_.ChooseOutputFile(); });
}

// Every box's keys, changes and its being left go to the model.
void TZUDIzazu::WireHistoryBoxes()
{
    for (THistoryComboBox* box : ui.HistoryBoxes())
        box->installEventFilter(this);
    boxExitWatch_ = std::make_unique<TBoxExitWatch>(
        this,
        [this](QWidget* widget) {
            const std::optional<HistoryBox> box = BoxOf(widget);
            return box ? Box(*box) : nullptr;
        },
        [this](THistoryComboBox* left) { model_.BoxLeft(*BoxOf(left)); });
    for (int i = 0; i < kHistoryBoxCount; ++i) {
        const auto box = static_cast<HistoryBox>(i);
        connect(Box(box), &QComboBox::editTextChanged, this, [this, box] { model_.BoxEdited(box); });
    }
}

void TZUDIzazu::CreateButtons()
{
    ui.beginButton = new QPushButton("&Begin", centralWidget());
    ui.beginButton->setGeometry(135, 255, 73, 27);
    ui.beginButton->setEnabled(false);
    ui.beginButton->setAutoDefault(false);
    ui.beginButton->setShortcut(QKeySequence());  // Alt+B is the menu's shortcut
    ui.exitButton = new QPushButton("E&xit", centralWidget());
    ui.exitButton->setGeometry(219, 255, 73, 27);
    ui.exitButton->setAutoDefault(false);
    ui.exitButton->setShortcut(QKeySequence());  // Alt+X is the menu's shortcut
    connect(ui.beginButton, &QPushButton::clicked, this, [this] { model_.BeginOrCancel(); });
    connect(ui.exitButton, &QPushButton::clicked, this, [this] { model_.Exit(); });
}

void TZUDIzazu::CreateProgressDisplay()
{
    ui.ProgBar1 = new TVantorGauge(centralWidget());
    ui.ProgBar1->setGeometry(48, 236, 332, 17);
    ui.ProgBar1->SetColor(clBtnFace);
    ui.ProgBar1->SetForeColor(kGaugeBarColor);
    ui.ProgBar1->hide();
    QFont small("Arial");
    small.setPixelSize(11);
    auto makeTimeLabel = [&](const char* text, QRect geometry) {
        QLabel* label = MakeLabel(centralWidget(), text, geometry);
        label->setFont(small);
        label->hide();
        return label;
    };
    ui.lblStaticET = makeTimeLabel("Elapsed Time:", QRect(14, 254, 66, 14));
    ui.lblStaticRT = makeTimeLabel("Remaining Time:", QRect(312, 254, 77, 14));
    ui.lblET = makeTimeLabel(kZeroClock, QRect(14, 267, 42, 14));
    ui.lblRT = makeTimeLabel(kZeroClock, QRect(312, 267, 42, 14));
}

void TZUDIzazu::CreateMenu()
{
    ui.fileMenu = menuBar()->addMenu("&File");
    ui.loadLevelsAction = ui.fileMenu->addAction("&Load Levels\tAlt+L");
    ui.inputFileAction = ui.fileMenu->addAction("&Input File\tAlt+I");
    ui.outputFileAction = ui.fileMenu->addAction("&Output File\tAlt+O");
    ui.beginAction = ui.fileMenu->addAction("&Begin\tAlt+B");
    ui.previewAction = ui.fileMenu->addAction("Pre&view\tAlt+V");
    ui.fileMenu->addSeparator();
    ui.preferencesMenu = ui.fileMenu->addMenu("&Preferences");
    ui.leftJustOnlyAction = ui.preferencesMenu->addAction("Left Justified Only");
    ui.showProgMeterAction = ui.preferencesMenu->addAction("Show Progress Meter");
    ui.useHRAction = ui.preferencesMenu->addAction("Use <HR> (in place of <CR>)");
    ui.idRecordsAction = ui.preferencesMenu->addAction("ID record levels");
    for (QAction* check : {ui.leftJustOnlyAction, ui.showProgMeterAction, ui.useHRAction, ui.idRecordsAction})
        check->setCheckable(true);
    ui.setViewerAction = ui.preferencesMenu->addAction("Set Folio Flat File Viewer ...");
    ui.fileMenu->addSeparator();
    ui.exitAction = ui.fileMenu->addAction("E&xit\tAlt+X");
    QMenu* help = menuBar()->addMenu("&Help");
    ui.usingAction = help->addAction("&Using Pellimar ...");
    help->addSeparator();
    ui.aboutAction = help->addAction("&About Pellimar ...");

    ConnectMenu();
}

// Each menu item runs its command in the model.
void TZUDIzazu::ConnectMenu()
{
    connect(ui.fileMenu, &QMenu::aboutToShow, this, [this] { model_.FileMenuOpening(); });
    connect(ui.preferencesMenu, &QMenu::aboutToShow, this, [this] { model_.PreferencesMenuOpening(); });
    const std::pair<QAction*, void (MainWindowModel::*)()> commands[] = {
        {ui.loadLevelsAction, &MainWindowModel::LoadLevels},
        {ui.inputFileAction, &MainWindowModel::ChooseInputFile},
        {ui.outputFileAction, &MainWindowModel::ChooseOutputFile},
        {ui.beginAction, &MainWindowModel::BeginOrCancel},
        {ui.previewAction, &MainWindowModel::Preview},
        {ui.leftJustOnlyAction, &MainWindowModel::ToggleLeftJustOnly},
        {ui.showProgMeterAction, &MainWindowModel::ToggleShowProgMeter},
        {ui.useHRAction, &MainWindowModel::ToggleUseHR},
        {ui.idRecordsAction, &MainWindowModel::ToggleIdRecords},
        {ui.setViewerAction, &MainWindowModel::ChooseViewer},
        {ui.exitAction, &MainWindowModel::Exit},
        {ui.usingAction, &MainWindowModel::ShowHelp},
        {ui.aboutAction, &MainWindowModel::ShowAbout},
    };
    for (const auto& [action, command] : commands)
        connect(action, &QAction::triggered, this, [this, command = command] { (model_.*command)(); });
}

// A menu shortcut first runs the File menu's opening handler, which brings
// the items' states up to date, and then the item when it is enabled; the
// key is taken either way.
void TZUDIzazu::CreateShortcuts()
{
    const std::pair<QKeySequence, QAction*> shortcuts[] = {
        {QKeySequence(Qt::ALT | Qt::Key_L), ui.loadLevelsAction},
        {QKeySequence(Qt::ALT | Qt::Key_I), ui.inputFileAction},
        {QKeySequence(Qt::ALT | Qt::Key_O), ui.outputFileAction},
        {QKeySequence(Qt::ALT | Qt::Key_B), ui.beginAction},
        {QKeySequence(Qt::ALT | Qt::Key_V), ui.previewAction},
        {QKeySequence(Qt::ALT | Qt::Key_X), ui.exitAction},
    };
    for (const auto& [keys, action] : shortcuts) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, [this, action = action] {
            model_.FileMenuOpening();
            if (action->isEnabled())
                action->trigger();
        });
    }
}

void TZUDIzazu::SetTabOrder()
{
    QWidget* order[] = {ui.LevelBoxes[0], ui.LevelBoxes[1], ui.LevelBoxes[2], ui.LevelBoxes[3], ui.LevelBoxes[4],
                        ui.LevelBoxes[5], ui.LevelBoxes[6], ui.pageCB,        ui.cbRemove,      ui.refCB,
                        ui.cbSearch,      ui.inEdit,        ui.outEdit,       ui.beginButton,       ui.exitButton};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

}  // namespace pellimar
