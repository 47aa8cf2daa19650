#pragma once

#include <cstdint>
#include <string>

// Base of everything that can be an event's Sender.
class TObject {
public:
    virtual ~TObject();
};

// The framework's component: an owner, a name, a tag and the notification
// that runs after a stored layout has been applied. Owners here are plain
// back pointers; the owning window holds the component as a member.
class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner) : owner_(owner) {}
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    intptr_t Tag() const { return tag_; }
    void SetTag(intptr_t tag) { tag_ = tag; }

    // Runs once the stored properties have been applied.
    virtual void AfterLoad() {}

private:
    TComponent* owner_;
    std::string name_;
    intptr_t tag_ = 0;
};
