#pragma once
// Records the simulated libraries build on the library heap, and the free calls that take
// them back. A free call checks that the record came from that heap before it reads it.

#include "SimFixtures.h"
#include "quorvel_api.h"

namespace orvexsim {

// A list of the pairs in order; null when the heap is exhausted (nothing left allocated).
ServerAttributeList* BuildAttributeList(const Pairs& pairs);

// Keys, values and both arrays (the record itself stays).
void FreeAttributeListContents(ServerAttributeList* list);

// False, with nothing freed, when the record is not a block of the library heap.
bool FreeStringArray(ServerStringArray* array);
bool FreeJobList(ScanJobList* list);
bool FreeAddressEntryList(QuorvelAddressEntryList* list);

} // namespace orvexsim
