#include "SourceState.h"

#include "AbstractResponder.h"
#include "QuorvelWrapperIntf.h"
#include "XGPreferences.h"

SourceState::SourceState() = default;

// The scan session is deleted by the source, which knows its type.
SourceState::~SourceState() = default;
