#include "ui/components/provider_tools.h"

#include <typeinfo>

#include "base/text.h"

namespace quenlor::ui {

namespace {
TProviderManager* g_manager = nullptr;
}

TProviderManager::TProviderManager(TComponent* owner) : TComponent(owner) {}

TProviderManager::~TProviderManager() {
  if (g_manager == this) g_manager = nullptr;
}

TProviderManager& ProviderManager() {
  if (!g_manager) g_manager = &Application().Add<TProviderManager>();
  return *g_manager;
}

void TProviderManager::Register(const TProviderClass& provider_class, std::type_index control_class,
                                bool is_default) {
  for (Registration& r : registrations_) {
    if (r.provider_class == &provider_class && r.control_class == control_class) {
      if (is_default) r.is_default = true;
      return;
    }
  }
  registrations_.push_back({&provider_class, control_class, is_default});
}

std::shared_ptr<IControlProvider> TProviderManager::Find(std::type_index control_class, const std::string& name) {
  const std::string key = AsciiUpper(TrimBlanks(name));
  const TProviderClass* chosen = nullptr;
  const TProviderClass* fallback = nullptr;
  for (const Registration& r : registrations_) {
    if (r.control_class != control_class) continue;
    if (AsciiUpper(r.provider_class->display_name()) == key) {
      chosen = r.provider_class;
      break;
    }
    if (r.is_default) fallback = r.provider_class;
  }
  if (!chosen) chosen = fallback;
  if (!chosen) return nullptr;
  for (const auto& provider : providers_)
    if (&provider->ProviderClass() == chosen) return provider;
  std::shared_ptr<IControlProvider> made = chosen->create();
  providers_.push_back(made);
  return made;
}

void RegisterProviders(const TProviderClass& provider_class, const std::vector<std::type_index>& control_classes) {
  for (const std::type_index& c : control_classes) ProviderManager().Register(provider_class, c, false);
}

void RegisterDefaultProvider(const TProviderClass& provider_class, std::type_index control_class) {
  ProviderManager().Register(provider_class, control_class, true);
}

std::shared_ptr<IControlProvider> FindProvider(std::type_index control_class, const std::string& name) {
  return ProviderManager().Find(control_class, name);
}

TProviderCustomControl::TProviderCustomControl(TComponent* owner, TControl* parent)
    : TCustomControl(owner, parent) {
  SetDoubleBuffered(true);
}

void TProviderCustomControl::Constructed() {
  TCustomControl::Constructed();
  // The default provider of the control's own (most derived) class, if any.
  SetProvider(FindProvider(typeid(*this), ""));
}

void TProviderCustomControl::SetProvider(std::shared_ptr<IControlProvider> provider) {
  if (provider == provider_) return;
  provider_ = std::move(provider);
  if (provider_) provider_->Init(*this);
  Invalidate();
}

std::string TProviderCustomControl::ProviderName() const {
  return provider_ ? provider_->DisplayName() : std::string();
}

void TProviderCustomControl::SetProviderName(const std::string& name) {
  SetProvider(FindProvider(typeid(*this), name));
}

void TProviderCustomControl::MouseEnter() {
  TCustomControl::MouseEnter();
  Hover(this);
}

void TProviderCustomControl::MouseLeave() {
  TCustomControl::MouseLeave();
  Hover(nullptr);
}

void TProviderCustomControl::Hover(TControl* control) {
  if (OnHover) OnHover(this, control);
}

}  // namespace quenlor::ui
