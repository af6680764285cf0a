// The main window itself: construction and destruction, the start-up sequence, the skin and its
// buttons, painting, moving the borderless window, the About box, minimising, and the dispatch
// of button commands, and the settings it loads.
#include "viewer/main_window/quadrel_dlg.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "platform/registry/memory_hives.h"
#include "platform/ui/dialog_codes.h"
#include "platform/ui/dialog_items.h"
#include "platform/ui/prompts.h"
#include "viewer/main_window/about_dialog.h"
#include "viewer/main_window/device_notification.h"
#include "viewer/main_window/main_dialog_ids.h"
#include "viewer/main_window/main_dialog_template.h"
#include "viewer/main_window/settings_problem.h"
#include "viewer/main_window/skin_artwork.h"
#include "viewer/main_window/skin_captions.h"
#include "viewer/main_window/video_pane.h"
#include "viewer/resources/resources.h"
#include "viewer/settings/settings_key.h"
#include "viewer/widgets/bitmap_resource.h"
#include "viewer/widgets/bitmap_to_region.h"
#include "viewer/widgets/control_button.h"
#include "viewer/widgets/show_message.h"

namespace {

const char kAboutMenuText[] = "About Quadrel(&A)...";
const char kWindowTitle[] = "Quadrel";

bool IsSkinnedButton(int id) {
    for (const ButtonArtwork& button : ButtonArtworkTable())
        if (button.id == id) return true;
    return false;
}

RECT ToRect(const QRect& r) {
    return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace

CQuadrelDlg::CQuadrelDlg(const Services& services, QWidget* parent)
    : CDialog(MainDialogTemplate(), parent), services_(services), icon_(resources::ProgramIcon()) {
    // A borderless application window with a task-bar entry, not a dialog box.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
}

CQuadrelDlg::~CQuadrelDlg() {
    devNotify_.reset();  // no device event can arrive any more
    capture_.FreeGraph();
    // The buttons stay until the widget base goes; they must not keep pointing at the skin.
    for (const ButtonArtwork& artwork : ButtonArtworkTable())
        if (CControlButton* button = Button(artwork.id)) button->m_pBackground = nullptr;
    skin_.reset();
}

QWidget* CQuadrelDlg::CreateControl(const ControlTemplate& control, QWidget* parent) {
    for (std::size_t k = 0; k < panes_.size(); ++k) {
        if (control.id == kPaneIds[k]) {
            panes_[k] = new CVideoPane(parent);  // owned by the window
            return panes_[k];
        }
    }
    if (IsSkinnedButton(control.id)) return new CControlButton(parent);  // owned by the window
    return nullptr;
}

void CQuadrelDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The system menu's About entry is the window's context menu (contextMenuEvent).
    setWindowIcon(icon_);
    setWindowTitle(QString::fromUtf8(kWindowTitle));
    capture_.LoadSnapIcon(LoadBitmapResource(IDB_SNAP_ICON));

    SkinWindow();
    SkinButtons();
    // Settings that cannot be read are no reason to stop: the viewer runs on the first-run
    // settings, kept in memory, and says so once the window shows.
    registry::KeepInMemoryWhenUnreadable(HKEY_CURRENT_USER);
    ReloadGrabberSettings();
    SetTimer(ID_TIMER_WATCH, kWatchPeriodMs);

    ShowItem(IDC_VOLUME_OFF, false);
    ShowItem(IDC_VOLUME_ON, true);
    // The viewer always starts locked (CViewerLock starts so).
    ShowItem(IDC_UNLOCK, true);
    ShowItem(IDC_LOCKED, false);

    channels_.ComputeLayoutRects();
    RegisterDeviceEvents();
    timedSnapshots_.LoadSnapWindow();
    capture_.StartCapture();  // silent at start-up: no device simply means empty panes
    // Recordings the last run left unfinished are repaired in the background; the pop-up tells
    // the user when that is done.
    recording_.RepairUnfinishedFiles([this] { repairWakeup_.Wake(); });
    QMetaObject::invokeMethod(this, &CQuadrelDlg::TellSettingsProblem, Qt::QueuedConnection);
}

void CQuadrelDlg::TellSettingsProblem() {
    if (settingsProblemTold_) return;
    settingsProblemTold_ = true;
    if (const std::optional<QString> text =
            SettingsProblemText(registry::HiveStatusOf(HKEY_CURRENT_USER)))
        Prompts().MessageBox(this, *text, SettingsProblemCaption(), MB_OK | MB_ICONWARNING);
}

int CQuadrelDlg::ReloadGrabberSettings() {
    if (!settings_) settings_ = std::make_unique<GrabberSettings>();
    *settings_ = GrabberSettings{};
    SettingsKeyHolder* holder = OpenSettingsKey();
    const int result = holder ? LoadGrabberSettings(settings_.get(), holder) : 0;
    lock_.SettingsLoaded(holder != nullptr);
    return result;
}

void CQuadrelDlg::SkinWindow() {
    if (skin_) return;
    QImage skin = LoadBitmapResource(IDB_SKIN);
    if (skin.isNull()) return;  // keeps the template's size, no shape, plain buttons
    skin = SkinWithTranslatedCaptions(std::move(skin));
    skin_ = std::make_unique<QImage>(std::move(skin));
    move(0, 0);
    setFixedSize(skin_->size());
    if (const std::optional<QRegion> region = BitmapToRegion(*skin_, kDialogShapeKey))
        setMask(*region);
}

void CQuadrelDlg::SkinButtons() {
    if (!skin_) return;
    for (const ButtonArtwork& artwork : ButtonArtworkTable()) {
        CControlButton* button = Button(artwork.id);
        if (!button) continue;
        button->m_rcInParent = ToRect(button->geometry());
        button->m_pBackground = skin_.get();
        button->m_bHasBackground = 1;
        button->SetShape(artwork.shape);
        button->m_bTransparent = 1;
        button->m_bmpMask = LoadBitmapResource(artwork.shape);
        button->LoadStateBitmaps(artwork.hover, artwork.normal, artwork.pressed, artwork.spare);
        if (artwork.disabled) button->m_bmpDisabled = LoadBitmapResource(artwork.disabled);
    }
}

void CQuadrelDlg::RegisterDeviceEvents() {
    if (devNotify_) return;
    devNotify_ = std::make_unique<CDeviceNotification>(
        this,
        [this](UINT event, const QByteArray& record) {
            OnDeviceChange(event, record.constData(), static_cast<std::size_t>(record.size()));
        },
        services_.simulator, services_.watchUdev, services_.udevHook, services_.hardwareEvents);
}

CControlButton* CQuadrelDlg::Button(int id) const {
    return qobject_cast<CControlButton*>(GetDlgItem(id));
}

void CQuadrelDlg::SetLatched(int id, bool latched) {
    if (CControlButton* button = Button(id)) {
        button->m_bLatched = latched ? 1 : 0;
        button->update();
    }
}

bool CQuadrelDlg::IsLatched(int id) const {
    const CControlButton* button = Button(id);
    return button && button->m_bLatched;
}

void CQuadrelDlg::ShowItem(int id, bool show) {
    ShowDlgItem(this, id, show);
}

void CQuadrelDlg::ShowMessage(const QString& text) {
    ::ShowMessage(this, message_, text);
}

void CQuadrelDlg::OnOK() {}
void CQuadrelDlg::OnCancel() {}

void CQuadrelDlg::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    switch (id) {
        case IDC_HELP:
            OnHelp();
            return;
        case IDC_MINIMISE:
            showMinimized();
            return;
        case IDC_CLOSE:
            OnClose();
            return;
        case IDC_UNLOCK:
            OnUnlock();
            return;
        case IDC_LOCKED:
            lock_.LockViewer();
            return;
        case IDC_CHANNEL1:
        case IDC_CHANNEL2:
        case IDC_CHANNEL3:
        case IDC_CHANNEL4:
            channels_.OnChannelButton(id - IDC_CHANNEL1 + 1);
            return;
        case IDC_STYLE1:
            channels_.OnStyle(channel_views::kLayoutQuad);
            return;
        case IDC_STYLE2:
            channels_.OnStyle(channel_views::kLayoutBigSmall);
            return;
        case IDC_STYLE3:
            channels_.OnStyle(channel_views::kLayoutSingle);
            return;
        case IDC_ON:
            channels_.OnCyclingOn();
            return;
        case IDC_OFF:
            channels_.OnCyclingOff();
            return;
        case IDC_SEARCH:
            OnSearch();
            return;
        case IDC_SHOW_STAMP:
            OnShowStamp();
            return;
        case IDC_VOLUME_ON:
            OnVolume(false);  // shown while the sound is on: mutes it
            return;
        case IDC_VOLUME_OFF:
            OnVolume(true);
            return;
        case IDC_CHANNEL_SETTING:
            OnChannelSetting();
            return;
        case IDC_SYSTEM:
            OnSystemSetting();
            return;
        case IDC_PROPERTY:
            OnProperty();
            return;
        case IDC_RECORDER:
            recording_.OnRecorder();
            return;
        case IDC_SNAPSHOT:
            snapshots_.OnSnapShot();
            return;
        case IDC_TIMER_SNAP:
            timedSnapshots_.OnTimerSnap();
            return;
        case IDC_SAVE_IMAGE:
            timedSnapshots_.OnSaveImage();
            return;
        case IDC_ALARM:
            alarms_.ClearAlarm();
            return;
        case IDC_SECURITY:
            alarms_.OnSecurity();
            return;
        case IDOK:
        case IDCANCEL:
            CDialog::OnCommand(id, code);
            return;
        default:
            return;
    }
}

void CQuadrelDlg::OnSysCommand(UINT command) {
    if (command == IDM_ABOUTBOX) OnHelp();
}

void CQuadrelDlg::OnUnlock() {
    if (!lock_.EnsureUnlocked()) {
        lock_.LockViewer();
        return;
    }
    if (capture_.Graph()) return;
    const int result = capture_.StartCapture();
    if (result == 1)
        Prompts().MessageBox(this, QStringLiteral("没有找到监控设备!"), QStringLiteral("错误"),
                             MB_OK | MB_ICONERROR);
    else if (result != 0)
        Prompts().MessageBox(this, QStringLiteral("应用程序加载失败!"), QStringLiteral("错误"),
                             MB_OK | MB_ICONERROR);
}

void CQuadrelDlg::OnHelp() {
    CAboutDlg about(this);
    Prompts().RunModal(about);
}

void CQuadrelDlg::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (skin_)
        painter.drawImage(0, 0, *skin_);
    else
        painter.fillRect(rect(), palette().window());
    channels_.PaintPaneFrames(painter);
}

int CQuadrelDlg::PaneAt(QPoint point) const {
    for (std::size_t k = 0; k < panes_.size(); ++k) {
        const CVideoPane* pane = panes_[k];
        if (pane && pane->isVisibleTo(this) && pane->geometry().contains(point, true))
            return static_cast<int>(k);
    }
    return -1;
}

void CQuadrelDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        CDialog::mousePressEvent(event);
        return;
    }
    const int pane = PaneAt(event->position().toPoint());
    if (pane >= 0) {
        if (!lock_.EnsureUnlocked()) return;  // a refused login does not move the window
        channels_.OnPaneClick(pane + 1);
    }
    // The borderless window follows the mouse while the button is held.
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) return;
    if (QWindow* window = windowHandle(); window && window->startSystemMove()) return;
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void CQuadrelDlg::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - dragOffset_);
        return;
    }
    CDialog::mouseMoveEvent(event);
}

void CQuadrelDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) dragging_ = false;
    CDialog::mouseReleaseEvent(event);
}

void CQuadrelDlg::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int pane = PaneAt(event->position().toPoint());
    if (pane < 0 || !lock_.EnsureUnlocked()) return;
    channels_.OnPaneDoubleClick(pane + 1);
}

void CQuadrelDlg::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    const QAction* about = menu.addAction(QString::fromUtf8(kAboutMenuText));
    if (menu.exec(event->globalPos()) == about) OnSysCommand(IDM_ABOUTBOX);
}
