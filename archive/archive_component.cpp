#include "archive/archive_component.h"

TArchiveComponent::~TArchiveComponent() = default;
