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
#include "window/file_drop.h"
#include "window/history_combo.h"

namespace pellimar {
namespace {

// The client area below the menu bar; with a 3-pixel dialog frame, a 19-pixel
// caption and a 19-pixel menu bar it makes a 435 x 334 window.
constexpr int kClientWidth = 429;
constexpr int kClientHeight = 290;

// Captions size themselves to their text, never narrower than designed, so
// that no font or style cuts them off.
void PlaceCaption(QWidget* widget, QRect geometry)
{
    geometry.setWidth(std::max(geometry.width(), widget->sizeHint().width()));
    widget->setGeometry(geometry);
}

QLabel* MakeLabel(QWidget* parent, const char* caption, QRect geometry, QWidget* buddy = nullptr)
{
    auto* label = new QLabel(QString::fromLatin1(caption), parent);
    PlaceCaption(label, geometry);
    if (buddy != nullptr)
        label->setBuddy(buddy);
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
    box->setObjectName(name);
    box->setGeometry(geometry);
    return box;
}

// The "+" beside a file box: a button that never takes the focus, so using
// it does not count as leaving the box.
QToolButton* MakeBrowseButton(QWidget* parent, QRect geometry)
{
    auto* button = new QToolButton(parent);
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

std::int64_t LocalTimeOfDayMs()
{
    return QTime::currentTime().msecsSinceStartOfDay();
}

}  // namespace

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
    OpenDialog1 = {OpenFilters(), 1, "", "FFF", false};
    SaveDialog1 = {SaveFilters(), 1, "", "FFF", false};
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    setAcceptDrops(true);
    ForwardFileDragsOverBoxes(*this);
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
    Bevel1 = new QFrame(client);
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(0, 0, kClientWidth, 3);
    CreateLevelGroup();
    CreateOptionsGroup();
    CreateFilesGroup();
    CreateButtons();
    CreateProgressDisplay();
    WireHistoryBoxes();
}

void TZUDIzazu::CreateLevelGroup()
{
    GroupBox1 = new QGroupBox("Level Names:", centralWidget());
    GroupBox1->setGeometry(7, 2, 182, 232);
    for (int n = 1; n <= kLevelCount; ++n) {
        auto* box = MakeHistoryBox(GroupBox1, QString("L%1CB").arg(n), BoxText::Plain, true,
                                   QRect(28, 20 + 30 * (n - 1), 145, 24));
        const std::string caption = "&" + std::to_string(n) + ":";
        MakeLabel(GroupBox1, caption.c_str(), QRect(10, 24 + 30 * (n - 1), 11, 16), box);
        LevelBoxes[n - 1] = box;
    }
}

void TZUDIzazu::CreateOptionsGroup()
{
    GroupBox3 = new QGroupBox("Options:", centralWidget());
    GroupBox3->setGeometry(193, 2, 228, 118);
    pageCB = MakeHistoryBox(GroupBox3, "pageCB", BoxText::Plain, false, QRect(8, 38, 193, 24));
    MakeLabel(GroupBox3, "&Page # Pattern:", QRect(8, 18, 91, 16), pageCB);
    cbRemove = new QCheckBox("&Remove #'s", GroupBox3);
    PlaceCaption(cbRemove, QRect(123, 18, 87, 18));
    // Alt+R belongs to the reference-pattern label, which comes first.
    cbRemove->setShortcut(QKeySequence());
    refCB = MakeHistoryBox(GroupBox3, "refCB", BoxText::Plain, false, QRect(8, 86, 193, 24));
    MakeLabel(GroupBox3, "&Reference Pattern:", QRect(8, 66, 108, 16), refCB);
    cbSearch = new QCheckBox("Not &Searched", GroupBox3);
    PlaceCaption(cbSearch, QRect(123, 66, 100, 18));
}

void TZUDIzazu::CreateFilesGroup()
{
    GroupBox2 = new QGroupBox("Files:", centralWidget());
    GroupBox2->setGeometry(193, 121, 228, 113);
    MakeUnderlinedLabel(GroupBox2, "", 'I', "nput File:", QRect(8, 16, 57, 16));
    inEdit = MakeHistoryBox(GroupBox2, "inEdit", BoxText::Path, true, QRect(8, 35, 193, 24));
    SpeedButton1 = MakeBrowseButton(GroupBox2, QRect(202, 35, 17, 23));
    MakeUnderlinedLabel(GroupBox2, "", 'O', "utput File:", QRect(8, 62, 68, 16));
    outEdit = MakeHistoryBox(GroupBox2, "outEdit", BoxText::Path, true, QRect(8, 81, 193, 24));
    SpeedButton3 = MakeBrowseButton(GroupBox2, QRect(202, 81, 17, 23));
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { Guarded([this] { SpeedButton1Click(); }); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { Guarded([this] { SpeedButton3Click(); }); });
}

// Every box's focus and keys go through the window's history handlers; the
// three boxes the Begin rule reads run it on every change.
void TZUDIzazu::WireHistoryBoxes()
{
    for (THistoryComboBox* box : LevelBoxes)
        box->installEventFilter(this);
    for (THistoryComboBox* box : {pageCB, refCB, inEdit, outEdit})
        box->installEventFilter(this);
    for (THistoryComboBox* box : {inEdit, outEdit, refCB})
        connect(box, &QComboBox::editTextChanged, this, [this] { UpdateBeginButton(); });
}

void TZUDIzazu::CreateButtons()
{
    Button2 = new QPushButton("&Begin", centralWidget());
    Button2->setGeometry(135, 255, 73, 27);
    Button2->setEnabled(false);
    Button2->setAutoDefault(false);
    Button2->setShortcut(QKeySequence());  // Alt+B is the menu's shortcut
    Button1 = new QPushButton("E&xit", centralWidget());
    Button1->setGeometry(219, 255, 73, 27);
    Button1->setAutoDefault(false);
    Button1->setShortcut(QKeySequence());  // Alt+X is the menu's shortcut
    connect(Button2, &QPushButton::clicked, this, [this] { Guarded([this] { Button2Click(); }); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TZUDIzazu::CreateProgressDisplay()
{
    ProgBar1 = new TVantorGauge(centralWidget());
    ProgBar1->setGeometry(48, 236, 332, 17);
    ProgBar1->SetColor(clBtnFace);
    ProgBar1->SetForeColor(clActiveCaption);
    ProgBar1->hide();
    QFont small("Arial");
    small.setPixelSize(11);
    auto makeTimeLabel = [&](const char* text, QRect geometry) {
        QLabel* label = MakeLabel(centralWidget(), text, geometry);
        label->setFont(small);
        label->hide();
        return label;
    };
    lblStaticET = makeTimeLabel("Elapsed Time:", QRect(14, 254, 66, 14));
    lblStaticRT = makeTimeLabel("Remaining Time:", QRect(312, 254, 77, 14));
    lblET = makeTimeLabel(kZeroClock, QRect(14, 267, 42, 14));
    lblRT = makeTimeLabel(kZeroClock, QRect(312, 267, 42, 14));
}

void TZUDIzazu::CreateMenu()
{
    File1 = menuBar()->addMenu("&File");
    LoadLevels1 = File1->addAction("&Load Levels\tAlt+L");
    InputFile1 = File1->addAction("&Input File\tAlt+I");
    OutputFile1 = File1->addAction("&Output File\tAlt+O");
    Begin1 = File1->addAction("&Begin\tAlt+B");
    File1->addSeparator();
    Preferences1 = File1->addMenu("&Preferences");
    LJO1 = Preferences1->addAction("Left Justifed Only");
    SPM1 = Preferences1->addAction("Show Progress Meter");
    UHR1 = Preferences1->addAction("Use <HR> (in place of <CR>)");
    for (QAction* check : {LJO1, SPM1, UHR1})
        check->setCheckable(true);
    SetFolioFlatFileViewer1 = Preferences1->addAction("Set Folio Flat File Viewer ...");
    File1->addSeparator();
    Exit1 = File1->addAction("E&xit\tAlt+X");
    QMenu* help = menuBar()->addMenu("&Help");
    Using1 = help->addAction("&Using Pellimar ...");
    help->addSeparator();
    About1 = help->addAction("&About Pellimar ...");

    connect(File1, &QMenu::aboutToShow, this, [this] { File1Click(); });
    connect(Preferences1, &QMenu::aboutToShow, this, [this] { Preferences1Click(); });
    const std::pair<QAction*, void (TZUDIzazu::*)()> commands[] = {
        {LoadLevels1, &TZUDIzazu::LoadLevels1Click},
        {InputFile1, &TZUDIzazu::SpeedButton1Click},
        {OutputFile1, &TZUDIzazu::SpeedButton3Click},
        {Begin1, &TZUDIzazu::Button2Click},
        {LJO1, &TZUDIzazu::LJO1Click},
        {SPM1, &TZUDIzazu::SPM1Click},
        {UHR1, &TZUDIzazu::UHR1Click},
        {SetFolioFlatFileViewer1, &TZUDIzazu::SetFolioFlatFileViewer1Click},
        {Exit1, &TZUDIzazu::Button1Click},
        {Using1, &TZUDIzazu::Button4Click},
        {About1, &TZUDIzazu::Button3Click},
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
        {QKeySequence(Qt::ALT | Qt::Key_L), LoadLevels1}, {QKeySequence(Qt::ALT | Qt::Key_I), InputFile1},
        {QKeySequence(Qt::ALT | Qt::Key_O), OutputFile1}, {QKeySequence(Qt::ALT | Qt::Key_B), Begin1},
        {QKeySequence(Qt::ALT | Qt::Key_X), Exit1},
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
    QWidget* order[] = {LevelBoxes[0], LevelBoxes[1], LevelBoxes[2], LevelBoxes[3], LevelBoxes[4],
                        LevelBoxes[5], LevelBoxes[6], pageCB,        cbRemove,      refCB,
                        cbSearch,      inEdit,        outEdit,       Button2,       Button1};
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
        LevelBoxes[i]->SetHistory(data.levelHistories[i]);
    cbSearch->setChecked(data.notSearched);
    cbRemove->setChecked(data.removePageMarkers);
    FShowProgMeter = data.showProgMeter;
    FLeftJustOnly = data.leftJustOnly;
    FUseHR = data.useHR;
    FViewerPath = data.viewerPath;
    inEdit->SetHistory(data.inputHistory);
    outEdit->SetHistory(data.outputHistory);
    pageCB->SetHistory(data.pagePatternHistory);
    refCB->SetHistory(data.refPatternHistory);
}

SettingsData TZUDIzazu::SettingsFromControls() const
{
    SettingsData data;
    for (int i = 0; i < kLevelCount; ++i)
        data.levelHistories[i] = LevelBoxes[i]->History();
    data.notSearched = cbSearch->isChecked();
    data.removePageMarkers = cbRemove->isChecked();
    data.showProgMeter = FShowProgMeter;
    data.leftJustOnly = FLeftJustOnly;
    data.useHR = FUseHR;
    data.viewerPath = FViewerPath;
    data.inputHistory = inEdit->History();
    data.outputHistory = outEdit->History();
    data.pagePatternHistory = pageCB->History();
    data.refPatternHistory = refCB->History();
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
