// Building the window: controls at their places, the menu, shortcuts and tab
// order; the settings loaded when it is first shown and saved when it closes.
#include "window/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTime>
#include <QToolButton>

#include "gauge/vantor_gauge.h"
#include "settings/settings_store.h"
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

THistoryComboBox* MakeHistoryBox(QWidget* parent, const QString& name, BoxText kind, bool filtersBrackets,
                                 QRect geometry)
{
    auto* box = new THistoryComboBox(parent, kind, filtersBrackets);
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

std::vector<FileFilter> OpenFilters()
{
    return {{"Folio Flat Files (*.fff)", "*.fff"},
            {"Folio Def files (*.def)", "*.def"},
            {"Text Files (*.txt)", "*.txt"},
            {"Executable Files (*.exe)", "*.exe"},
            {"All Files (*.*)", "*.*"}};
}

std::vector<FileFilter> SaveFilters()
{
    return {{"Folio Flat Files (*.fff)", "*.fff"}, {"Text Files (*.txt)", "*.txt"}, {"All Files (*.*)", "*.*"}};
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

TZUDIzazu::TZUDIzazu(WindowServices services) : services_(std::move(services))
{
    if (!services_.clock)
        services_.clock = LocalTimeOfDayMs;
    setObjectName("ZUDIzazu");
    setWindowTitle(kApplicationTitle);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    QFont font("Arial");
    font.setPixelSize(13);
    setFont(font);
    FormCreate();
}

TZUDIzazu::~TZUDIzazu() = default;

void TZUDIzazu::FormCreate()
{
    CreateControls();
    CreateMenu();
    CreateShortcuts();
    SetTabOrder();
    ui.OpenDialog1 = {OpenFilters(), kFlatFilesFilter, "", "FFF", false};
    ui.SaveDialog1 = {SaveFilters(), 1, "", "FFF", false};
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    setAcceptDrops(true);
    ForwardFileDragsOverBoxes(*this, ui.HistoryBoxes());
}

void TZUDIzazu::CreateControls()
{
    auto* client = new QWidget(this);
    // Group captions sit on the frame line, so the controls' places inside
    // the groups leave room for nothing else.
    client->setStyleSheet("QGroupBox { border: 1px solid palette(mid); border-radius: 0px; margin-top: 6px; }"
                          "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0px 2px; }");
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);
    ui.Bevel1 = new QFrame(client);
    ui.Bevel1->setFrameShape(QFrame::HLine);
    ui.Bevel1->setFrameShadow(QFrame::Sunken);
    ui.Bevel1->setGeometry(0, 0, kClientWidth, 3);
    CreateLevelGroup();
    CreateOptionsGroup();
    CreateFilesGroup();
    CreateButtons();
    CreateProgressDisplay();
    WireHistoryBoxes();
}

void TZUDIzazu::CreateLevelGroup()
{
    ui.GroupBox1 = new QGroupBox("Level Names:", centralWidget());
    ui.GroupBox1->setGeometry(7, 2, 170, 232);
    for (int n = 1; n <= kLevelCount; ++n) {
        auto* box = MakeHistoryBox(ui.GroupBox1, QString("L%1CB").arg(n), BoxText::Plain, true,
                                   QRect(28, 20 + 30 * (n - 1), 133, 24));
        const std::string caption = "&" + std::to_string(n) + ":";
        MakeLabel(ui.GroupBox1, caption.c_str(), QRect(10, 24 + 30 * (n - 1), 11, 16), box);
        ui.LevelBoxes[n - 1] = box;
    }
}

void TZUDIzazu::CreateOptionsGroup()
{
    ui.GroupBox3 = new QGroupBox("Options:", centralWidget());
    ui.GroupBox3->setGeometry(kRightGroupsLeft, 2, kRightGroupsWidth, 118);
    ui.pageCB = MakeHistoryBox(ui.GroupBox3, "pageCB", BoxText::Plain, false, QRect(8, 38, kRightBoxWidth, 24));
    MakeLabel(ui.GroupBox3, "&Page # Pattern:", QRect(8, 18, 91, 16), ui.pageCB);
    ui.cbRemove = new QCheckBox("&Remove #'s", ui.GroupBox3);
    PlaceCaption(ui.cbRemove, QRect(kCheckBoxLeft, 18, 87, 18));
    // Alt+R belongs to the reference-pattern label, which comes first.
    ui.cbRemove->setShortcut(QKeySequence());
    ui.refCB = MakeHistoryBox(ui.GroupBox3, "refCB", BoxText::Plain, false, QRect(8, 86, kRightBoxWidth, 24));
    MakeLabel(ui.GroupBox3, "&Reference Pattern:", QRect(8, 66, 108, 16), ui.refCB);
    ui.cbSearch = new QCheckBox("Not &Searched", ui.GroupBox3);
    PlaceCaption(ui.cbSearch, QRect(kCheckBoxLeft, 66, 100, 18));
}

void TZUDIzazu::CreateFilesGroup()
{
    ui.GroupBox2 = new QGroupBox("Files:", centralWidget());
    ui.GroupBox2->setGeometry(kRightGroupsLeft, 121, kRightGroupsWidth, 113);
    MakeUnderlinedLabel(ui.GroupBox2, "", 'I', "nput File:", QRect(8, 16, 57, 16));
    ui.inEdit = MakeHistoryBox(ui.GroupBox2, "inEdit", BoxText::Path, true, QRect(8, 35, kRightBoxWidth, 24));
    ui.SpeedButton1 = MakeBrowseButton(ui.GroupBox2, QRect(9 + kRightBoxWidth, 35, 17, 23));
    MakeUnderlinedLabel(ui.GroupBox2, "", 'O', "utput File:", QRect(8, 62, 68, 16));
    ui.outEdit = MakeHistoryBox(ui.GroupBox2, "outEdit", BoxText::Path, true, QRect(8, 81, kRightBoxWidth, 24));
    ui.SpeedButton3 = MakeBrowseButton(ui.GroupBox2, QRect(9 + kRightBoxWidth, 81, 17, 23));
    connect(ui.SpeedButton1, &QToolButton::clicked, this, [this] { Guarded([this] { SpeedButton1Click(); }); });
    connect(ui.SpeedButton3, &QToolButton::clicked, this, [this] { Guarded([this] { SpeedButton3Click(); }); });
}

// Every box's keys and its being left go through the window's history
// handlers; the three boxes the Begin rule reads run it on every change.
void TZUDIzazu::WireHistoryBoxes()
{
    for (THistoryComboBox* box : ui.HistoryBoxes())
        box->installEventFilter(this);
    FBoxExitWatch = std::make_unique<TBoxExitWatch>(
        this, [this](QWidget* widget) { return BoxOf(widget); },
        [this](THistoryComboBox* box) { Guarded([&] { inEditExit(box); }); });
    for (THistoryComboBox* box : {ui.inEdit, ui.outEdit, ui.refCB})
        connect(box, &QComboBox::editTextChanged, this, [this] { UpdateBeginButton(); });
}

void TZUDIzazu::CreateButtons()
{
    ui.Button2 = new QPushButton("&Begin", centralWidget());
    ui.Button2->setGeometry(135, 255, 73, 27);
    ui.Button2->setEnabled(false);
    ui.Button2->setAutoDefault(false);
    ui.Button2->setShortcut(QKeySequence());  // Alt+B is the menu's shortcut
    ui.Button1 = new QPushButton("E&xit", centralWidget());
    ui.Button1->setGeometry(219, 255, 73, 27);
    ui.Button1->setAutoDefault(false);
    ui.Button1->setShortcut(QKeySequence());  // Alt+X is the menu's shortcut
    connect(ui.Button2, &QPushButton::clicked, this, [this] { Guarded([this] { Button2Click(); }); });
    connect(ui.Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
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
    ui.File1 = menuBar()->addMenu("&File");
    ui.LoadLevels1 = ui.File1->addAction("&Load Levels\tAlt+L");
    ui.InputFile1 = ui.File1->addAction("&Input File\tAlt+I");
    ui.OutputFile1 = ui.File1->addAction("&Output File\tAlt+O");
    ui.Begin1 = ui.File1->addAction("&Begin\tAlt+B");
    ui.Preview1 = ui.File1->addAction("Pre&view\tAlt+V");
    ui.File1->addSeparator();
    ui.Preferences1 = ui.File1->addMenu("&Preferences");
    ui.LJO1 = ui.Preferences1->addAction("Left Justifed Only");
    ui.SPM1 = ui.Preferences1->addAction("Show Progress Meter");
    ui.UHR1 = ui.Preferences1->addAction("Use <HR> (in place of <CR>)");
    ui.IDR1 = ui.Preferences1->addAction("ID record levels");
    for (QAction* check : {ui.LJO1, ui.SPM1, ui.UHR1, ui.IDR1})
        check->setCheckable(true);
    ui.SetFolioFlatFileViewer1 = ui.Preferences1->addAction("Set Folio Flat File Viewer ...");
    ui.File1->addSeparator();
    ui.Exit1 = ui.File1->addAction("E&xit\tAlt+X");
    QMenu* help = menuBar()->addMenu("&Help");
    ui.Using1 = help->addAction("&Using Pellimar ...");
    help->addSeparator();
    ui.About1 = help->addAction("&About Pellimar ...");

    connect(ui.File1, &QMenu::aboutToShow, this, [this] { File1Click(); });
    connect(ui.Preferences1, &QMenu::aboutToShow, this, [this] { Preferences1Click(); });
    const std::pair<QAction*, void (TZUDIzazu::*)()> commands[] = {
        {ui.LoadLevels1, &TZUDIzazu::LoadLevels1Click},
        {ui.InputFile1, &TZUDIzazu::SpeedButton1Click},
        {ui.OutputFile1, &TZUDIzazu::SpeedButton3Click},
        {ui.Begin1, &TZUDIzazu::Button2Click},
        {ui.Preview1, &TZUDIzazu::Preview1Click},
        {ui.LJO1, &TZUDIzazu::LJO1Click},
        {ui.SPM1, &TZUDIzazu::SPM1Click},
        {ui.UHR1, &TZUDIzazu::UHR1Click},
        {ui.IDR1, &TZUDIzazu::IDR1Click},
        {ui.SetFolioFlatFileViewer1, &TZUDIzazu::SetFolioFlatFileViewer1Click},
        {ui.Exit1, &TZUDIzazu::Button1Click},
        {ui.Using1, &TZUDIzazu::Button4Click},
        {ui.About1, &TZUDIzazu::Button3Click},
    };
    for (const auto& [action, handler] : commands)
        connect(action, &QAction::triggered, this, [this, handler = handler] { Guarded([&] { (this->*handler)(); }); });
}

// A menu shortcut first runs the File menu's opening handler, which brings
// the items' states up to date, and then the item when it is enabled; the
// key is taken either way.
void TZUDIzazu::CreateShortcuts()
{
    const std::pair<QKeySequence, QAction*> shortcuts[] = {
        {QKeySequence(Qt::ALT | Qt::Key_L), ui.LoadLevels1}, {QKeySequence(Qt::ALT | Qt::Key_I), ui.InputFile1},
        {QKeySequence(Qt::ALT | Qt::Key_O), ui.OutputFile1}, {QKeySequence(Qt::ALT | Qt::Key_B), ui.Begin1},
        {QKeySequence(Qt::ALT | Qt::Key_V), ui.Preview1},    {QKeySequence(Qt::ALT | Qt::Key_X), ui.Exit1},
    };
    for (const auto& [keys, action] : shortcuts) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, [this, action = action] {
            File1Click();
            if (action->isEnabled())
                action->trigger();
        });
    }
}

void TZUDIzazu::SetTabOrder()
{
    QWidget* order[] = {ui.LevelBoxes[0], ui.LevelBoxes[1], ui.LevelBoxes[2], ui.LevelBoxes[3], ui.LevelBoxes[4],
                        ui.LevelBoxes[5], ui.LevelBoxes[6], ui.pageCB,        ui.cbRemove,      ui.refCB,
                        ui.cbSearch,      ui.inEdit,        ui.outEdit,       ui.Button2,       ui.Button1};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void TZUDIzazu::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (FShownOnce)
        return;
    FShownOnce = true;
    if (const QScreen* screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        move(available.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
    Guarded([this] { FormShow(); });
}

void TZUDIzazu::FormShow()
{
    LoadSettingsIntoControls(LoadSettings(services_.settingsPaths));
}

// Closing during a run first lets the run stop and clean up; the window then
// closes from the run's end.
void TZUDIzazu::closeEvent(QCloseEvent* event)
{
    if (FRunning) {
        FCancelRequested = true;
        FClosePending = true;
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TZUDIzazu::FormClose()
{
    // A failed save is reported, and the window closes all the same: keeping
    // it open would not make the settings file writable.
    Guarded([this] { SaveSettings(services_.settingsPaths, SettingsFromControls()); });
}

void TZUDIzazu::dragEnterEvent(QDragEnterEvent* event)
{
    AcceptFileDrag(event);
}

void TZUDIzazu::dropEvent(QDropEvent* event)
{
    if (AcceptFileDrag(event))
        DropFileOnWindow(*this, DroppedFilePath(event->mimeData()));
}

void TZUDIzazu::LoadSettingsIntoControls(const SettingsData& data)
{
    for (int i = 0; i < kLevelCount; ++i)
        ui.LevelBoxes[i]->SetHistory(data.levelHistories[i]);
    ui.cbSearch->setChecked(data.notSearched);
    ui.cbRemove->setChecked(data.removePageMarkers);
    FShowProgMeter = data.showProgMeter;
    FLeftJustOnly = data.leftJustOnly;
    FUseHR = data.useHR;
    FIdRecords = data.idRecords;
    FViewerPath = data.viewerPath;
    ui.inEdit->SetHistory(data.inputHistory);
    ui.outEdit->SetHistory(data.outputHistory);
    ui.pageCB->SetHistory(data.pagePatternHistory);
    ui.refCB->SetHistory(data.refPatternHistory);
}

SettingsData TZUDIzazu::SettingsFromControls() const
{
    SettingsData data;
    for (int i = 0; i < kLevelCount; ++i)
        data.levelHistories[i] = ui.LevelBoxes[i]->History();
    data.notSearched = ui.cbSearch->isChecked();
    data.removePageMarkers = ui.cbRemove->isChecked();
    data.showProgMeter = FShowProgMeter;
    data.leftJustOnly = FLeftJustOnly;
    data.useHR = FUseHR;
    data.idRecords = FIdRecords;
    data.viewerPath = FViewerPath;
    data.inputHistory = ui.inEdit->History();
    data.outputHistory = ui.outEdit->History();
    data.pagePatternHistory = ui.pageCB->History();
    data.refPatternHistory = ui.refCB->History();
    return data;
}

void TZUDIzazu::Guarded(const std::function<void()>& command)
{
    try {
        command();
    } catch (const std::exception& error) {
        HandleException(error);
    }
}

void TZUDIzazu::HandleException(const std::exception& error)
{
    std::string message = error.what();
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        message += '.';
    services_.dialogs->ShowErrorBox(kApplicationTitle, message);
}

}  // namespace pellimar
