#include "platform/ui/property_frame.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/com/runtime.h"
#include "platform/ui/dialog_codes.h"
#include "platform/ui/dialog_items.h"
#include "platform/ui/prompts.h"
#include "platform/ui/ui_text.h"

namespace {

QString TakeTaskString(LPWSTR text) {
    if (!text) return {};
    QString result = QString::fromUtf16(text);
    CoTaskMemFree(text);
    return result;
}

}  // namespace

CPropertyFrame::CPropertyFrame(QWidget* owner, const QString& title, LCID locale, IPrompts& prompts)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      prompts_(prompts),
      locale_(locale),
      tabs_(new QTabWidget(this)),
      apply_(new QPushButton(ui_text::Translate(ui_text::kButtons, "应用(&A)"), this)) {
    setWindowTitle(title);
    auto* ok = new QPushButton(ui_text::Translate(ui_text::kButtons, "确定"), this);
    auto* cancel = new QPushButton(ui_text::Translate(ui_text::kButtons, "取消"), this);
    SetDlgCtrlID(ok, IDOK);
    SetDlgCtrlID(cancel, IDCANCEL);
    SetDlgCtrlID(apply_, kIdApplyNow);
    ok->setDefault(true);
    apply_->setEnabled(false);
    connect(ok, &QPushButton::clicked, this, &CPropertyFrame::accept);
    connect(cancel, &QPushButton::clicked, this, &CPropertyFrame::reject);
    connect(apply_, &QPushButton::clicked, this, &CPropertyFrame::ApplyChanges);
    connect(tabs_, &QTabWidget::currentChanged, this, &CPropertyFrame::ActivatePage);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(apply_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CPropertyFrame::~CPropertyFrame() {
    Close();
}

HRESULT CPropertyFrame::AddPages(ULONG objectCount, IUnknown** objects, ULONG pageCount,
                                 const CLSID* pageClasses) {
    if ((objectCount > 0 && !objects) || (pageCount > 0 && !pageClasses)) return E_POINTER;
    HRESULT last = E_INVALIDARG;
    for (ULONG i = 0; i < pageCount; ++i) {
        ComPtr<IPropertyPage> page;
        HRESULT hr = CoCreateInstance(pageClasses[i], nullptr, CLSCTX_INPROC_SERVER, &page);
        if (FAILED(hr)) {
            last = hr;
            continue;
        }
        const int index = PageCount();
        ComPtr<CPropertyPageSite> site = CPropertyPageSite::Create(this, index, locale_, &prompts_);
        hr = page->SetPageSite(site.Get());
        if (SUCCEEDED(hr)) {
            hr = page->SetObjects(objectCount, objects);
            if (FAILED(hr)) page->SetPageSite(nullptr);
        }
        if (FAILED(hr)) {
            site->Detach();
            last = hr;
            continue;
        }
        PROPPAGEINFO info{};
        info.cb = sizeof(info);
        QString title;
        QSize size;
        if (SUCCEEDED(page->GetPageInfo(&info))) {
            title = TakeTaskString(info.pszTitle);
            TakeTaskString(info.pszDocString);
            TakeTaskString(info.pszHelpFile);
            size = QSize(info.size.cx, info.size.cy);
        }
        auto* parent = new QWidget(tabs_);  // owned by the tab widget
        parent->setMinimumSize(size);
        pages_.push_back(PageEntry{page, site, parent, size, false});
        // The first tab becomes current; its page is activated once the frame is shown.
        tabs_->addTab(parent, title);
    }
    return pages_.empty() ? last : S_OK;
}

IPropertyPage* CPropertyFrame::Page(int index) const {
    return index >= 0 && index < PageCount() ? pages_[index].page.Get() : nullptr;
}

QWidget* CPropertyFrame::PageParent(int index) const {
    return index >= 0 && index < PageCount() ? pages_[index].parent : nullptr;
}

bool CPropertyFrame::IsPageActive(int index) const {
    return index >= 0 && index < PageCount() && pages_[index].active;
}

bool CPropertyFrame::IsApplyEnabled() const {
    return apply_->isEnabled();
}

void CPropertyFrame::ActivatePage(int index) {
    if (index < 0 || index >= PageCount() || pages_[index].active || !isVisible()) return;
    PageEntry& entry = pages_[index];
    const RECT rect{0, 0, entry.size.width(), entry.size.height()};
    entry.active = SUCCEEDED(entry.page->Activate(entry.parent, &rect, TRUE));
}

void CPropertyFrame::ApplyChanges() {
    for (PageEntry& entry : pages_) {
        if (entry.page && entry.page->IsPageDirty() == S_OK) entry.page->Apply();
    }
    UpdateApply();
}

void CPropertyFrame::UpdateApply() {
    bool dirty = false;
    for (PageEntry& entry : pages_) {
        if (entry.page && entry.page->IsPageDirty() == S_OK) dirty = true;
    }
    apply_->setEnabled(dirty);
}

void CPropertyFrame::Close() {
    // Moved out first, so that calls the pages make while closing find no pages.
    std::vector<PageEntry> pages = std::move(pages_);
    pages_.clear();
    for (PageEntry& entry : pages) {
        if (entry.active) entry.page->Deactivate();
        entry.active = false;
    }
    for (PageEntry& entry : pages) {
        entry.page->SetObjects(0, nullptr);
        entry.page->SetPageSite(nullptr);
        entry.site->Detach();
    }
    // The page references are released as `pages` goes out of scope.
}

void CPropertyFrame::accept() {
    ApplyChanges();
    done(IDOK);
}

void CPropertyFrame::reject() {
    done(IDCANCEL);
}

void CPropertyFrame::OnPageStatusChange(int pageIndex, DWORD flags) {
    if (pageIndex < 0 || pageIndex >= PageCount()) return;
    if (flags & PROPPAGESTATUS_DIRTY) {
        apply_->setEnabled(true);
    } else if (flags & PROPPAGESTATUS_CLEAN) {
        UpdateApply();
    }
}

void CPropertyFrame::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ActivatePage(tabs_->currentIndex());
}

HRESULT OleCreatePropertyFrame(IPrompts& prompts, QWidget* owner, UINT x, UINT y, LPCWSTR caption,
                               ULONG objectCount, IUnknown** objects, ULONG pageCount,
                               const CLSID* pageClasses, LCID locale) {
    if ((objectCount > 0 && !objects) || (pageCount > 0 && !pageClasses)) return E_POINTER;
    const QString title =
        caption && caption[0]
            ? ui_text::Translate(ui_text::kButtons, "%1 属性").arg(QString::fromUtf16(caption))
            : ui_text::Translate(ui_text::kButtons, "属性");
    CPropertyFrame frame(owner, title, locale, prompts);
    const HRESULT hr = frame.AddPages(objectCount, objects, pageCount, pageClasses);
    if (FAILED(hr)) return hr;
    const QPoint at(static_cast<int>(x), static_cast<int>(y));
    frame.move(owner ? owner->mapToGlobal(at) : at);
    prompts.RunModal(frame);
    frame.Close();
    return S_OK;
}
