// Control providers: objects chosen by name from those registered for a control's class,
// which take over parts of that control's look.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

#include "ui/framework/controls.h"

namespace quenlor::ui {

class IControlProvider;

// A provider class: its display name and its virtual constructor.
struct TProviderClass {
  std::function<std::string()> display_name;
  std::function<std::shared_ptr<IControlProvider>()> create;
};

// {991A55C4-FFA0-48C4-9286-9156CCA46C3D}
class IControlProvider {
 public:
  virtual ~IControlProvider() = default;
  virtual std::string DisplayName() = 0;
  virtual const TProviderClass& ProviderClass() = 0;
  virtual void Init(TControl& control) = 0;
};

// The base of providers. A provider class P derives from it and may hide the class-level
// ClassDisplayName and override Init; ProviderClassOf<P>() is its class.
class TControlProvider : public IControlProvider {
 public:
  static std::string ClassDisplayName() { return "(default provider)"; }
  void Init(TControl&) override {}
};

template <class P>
const TProviderClass& ProviderClassOf() {
  static const TProviderClass cls{[] { return P::ClassDisplayName(); },
                                  []() -> std::shared_ptr<IControlProvider> { return std::make_shared<P>(); }};
  return cls;
}

// The provider objects of one class report it through this mixin.
template <class P, class Base = TControlProvider>
class TProvider : public Base {
 public:
  std::string DisplayName() override { return P::ClassDisplayName(); }
  const TProviderClass& ProviderClass() override { return ProviderClassOf<P>(); }
};

// The registrations and the provider objects made so far (one per provider class, shared
// by all controls). One instance, owned by the application, made on first use.
class TProviderManager : public TComponent {
 public:
  struct Registration {
    const TProviderClass* provider_class;
    std::type_index control_class;
    bool is_default;
  };
  explicit TProviderManager(TComponent* owner);
  ~TProviderManager() override;

  void Register(const TProviderClass& provider_class, std::type_index control_class, bool is_default);
  std::shared_ptr<IControlProvider> Find(std::type_index control_class, const std::string& name);
  const std::vector<Registration>& Registrations() const { return registrations_; }
  std::size_t ProviderCount() const { return providers_.size(); }

 private:
  std::vector<Registration> registrations_;
  std::vector<std::shared_ptr<IControlProvider>> providers_;
};

TProviderManager& ProviderManager();

// Registers a provider class for each of the control classes (once per pair).
void RegisterProviders(const TProviderClass& provider_class, const std::vector<std::type_index>& control_classes);
// Makes a provider class the default for a control class.
void RegisterDefaultProvider(const TProviderClass& provider_class, std::type_index control_class);
// The provider object for an exact control class and a name (blanks and case ignored),
// falling back to the class' default provider; null when there is neither.
std::shared_ptr<IControlProvider> FindProvider(std::type_index control_class, const std::string& name);

// A custom control whose look a provider may take over.
class TProviderCustomControl : public TCustomControl {
 public:
  TProviderCustomControl(TComponent* owner, TControl* parent);

  const std::shared_ptr<IControlProvider>& Provider() const { return provider_; }
  void SetProvider(std::shared_ptr<IControlProvider> provider);
  std::string ProviderName() const;
  void SetProviderName(const std::string& name);

  // Raised with the control on mouse enter and with null on mouse leave.
  std::function<void(TComponent* sender, TControl* control)> OnHover;

 protected:
  void Constructed() override;
  void MouseEnter() override;
  void MouseLeave() override;
  virtual void Hover(TControl* control);

 private:
  std::shared_ptr<IControlProvider> provider_;
};

}  // namespace quenlor::ui
