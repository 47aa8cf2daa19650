#include "archive/component.h"

// Out of line so each class has one home for its type information.
TObject::~TObject() = default;
TComponent::~TComponent() = default;
