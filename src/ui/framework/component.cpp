#include "ui/framework/controls.h"

#include <algorithm>
#include <memory>

namespace quenlor::ui {

TComponent::TComponent(TComponent* owner) : owner_(owner) {}

TComponent::~TComponent() { DestroyComponents(); }

void TComponent::DestroyComponents() {
  // Reverse order: later components may refer to earlier ones (a control to its parent).
  while (!components_.empty()) {
    std::unique_ptr<TComponent> last = std::move(components_.back());
    components_.pop_back();
    last.reset();
  }
}

void TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find_if(components_.begin(), components_.end(),
                         [&](const auto& c) { return c.get() == component; });
  if (it == components_.end()) return;
  std::unique_ptr<TComponent> doomed = std::move(*it);
  components_.erase(it);
  doomed.reset();
}

}  // namespace quenlor::ui
