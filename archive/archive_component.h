#pragma once

#include "archive/component.h"

#include <string>

// The family's root: carries the fixed credit text.
class TArchiveComponent : public TComponent {
public:
    explicit TArchiveComponent(TComponent* owner) : TComponent(owner) {}
    ~TArchiveComponent() override;

    static constexpr const char* kAboutText = "(ZKR)";

    const std::string& About() const { return about_; }
    // The credit text is fixed; a written value is ignored.
    void SetAbout(const std::string&) {}

private:
    std::string about_ = kAboutText;
};
