#pragma once
// The ways the first page of a job can fail to arrive, and the message the user then reads:
// shared by the tests of the acquire window and of the window-less acquisition.

#include "OrvexSimControl.h"
#include "StringTable_rc.h"
#include "quorvel_api.h"

struct FirstPageFailure {
    const char* name;
    // The simulated server's answer to the page's first data block (OrvexSim_FailDataBlock).
    int dataAnswer;
    int message;
};

inline const FirstPageFailure kFirstPageFailures[] = {
    {"the server refuses the data", QUORVEL_GENERAL_FAILURE, IDS_RESULT_GENERAL_FAILURE},
    {"the data are no picture", QUORVEL_OK, IDS_SCAN_FAILED},
};
