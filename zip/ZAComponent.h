#pragma once
// The component base of the archiver: a Name and an owner that frees the components it owns.
#include <vector>

#include "ZATypes.h"

class TZAComponent {
public:
    explicit TZAComponent(TZAComponent* AOwner = nullptr);
    virtual ~TZAComponent();
    TZAComponent(const TZAComponent&) = delete;
    TZAComponent& operator=(const TZAComponent&) = delete;

    const ZAString& Name() const { return FName; }
    void SetName(const ZAString& Value) { FName = Value; }
    TZAComponent* Owner() const { return FOwner; }
    size_t ComponentCount() const { return FComponents.size(); }

private:
    TZAComponent* FOwner;
    std::vector<TZAComponent*> FComponents;
    ZAString FName;
};
