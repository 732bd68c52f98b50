#include "ZAComponent.h"

#include <algorithm>

TZAComponent::TZAComponent(TZAComponent* AOwner) : FOwner(AOwner) {
    if (FOwner) FOwner->FComponents.push_back(this);
}

TZAComponent::~TZAComponent() {
    // Each owned component takes itself out of the list as it goes.
    while (!FComponents.empty()) delete FComponents.back();
    if (FOwner) {
        auto& siblings = FOwner->FComponents;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}
