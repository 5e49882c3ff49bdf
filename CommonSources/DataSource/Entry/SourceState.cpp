#include "SourceState.h"

#include "AbstractResponder.h"
#include "QuorvelWrapperIntf.h"
#include "Scanner.h"
#include "XGPreferences.h"

SourceState::SourceState() = default;

SourceState::~SourceState() = default;
