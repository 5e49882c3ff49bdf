#pragma once
// How quorvel_scan, quorvel_zyl and quorvel_corp reach the one simulator in quorvel10: each
// fetches a table of quorvel10's implementations once and forwards its exports to it. The
// tables are typed by the public declarations, so a signature that drifts does not compile.

#include "quorvel_api.h"

#define ORVEXSIM_SLOT(name) decltype(&::name) name

struct OrvexSimScanCalls {
    ORVEXSIM_SLOT(SCAN_openSession);
    ORVEXSIM_SLOT(SCAN_closeSession);
    ORVEXSIM_SLOT(SCAN_getJobList);
    ORVEXSIM_SLOT(SCAN_getJobListInMailbox);
    ORVEXSIM_SLOT(SCAN_getData);
    ORVEXSIM_SLOT(SCAN_getDataEx);
    ORVEXSIM_SLOT(SCAN_getDataInMailbox);
    ORVEXSIM_SLOT(SCAN_deleteJob);
    ORVEXSIM_SLOT(SCAN_deleteJobInMailbox);
    ORVEXSIM_SLOT(SCAN_isJobInMailbox);
    ORVEXSIM_SLOT(SCAN_initiateScan);
    ORVEXSIM_SLOT(SCAN_getScanPageInfo);
    ORVEXSIM_SLOT(SCAN_getScanPageInfoInMailbox);
    ORVEXSIM_SLOT(SCAN_serverAttributes);
    ORVEXSIM_SLOT(SCAN_freeScanJobList);
    ORVEXSIM_SLOT(SCAN_getEvents);
    ORVEXSIM_SLOT(SCAN_getEventsEx);
    ORVEXSIM_SLOT(SCAN_getAlertEvents);
    ORVEXSIM_SLOT(SCAN_cancelScan);
    ORVEXSIM_SLOT(SCAN_getNumPagesInJob);
};

struct OrvexSimZylCalls {
    ORVEXSIM_SLOT(ADDRESS_sGetAddrBook);
    ORVEXSIM_SLOT(ADDRESS_sFreeAddrBook);
    ORVEXSIM_SLOT(ADDRESS_OpenBookEx);
    ORVEXSIM_SLOT(ADDRESS_ReadBookEntriesEx);
    ORVEXSIM_SLOT(ADDRESS_FreeBookEntriesEx);
    ORVEXSIM_SLOT(ADDRESS_CloseBookEx);
    ORVEXSIM_SLOT(SFTP_Validate);
};

struct OrvexSimCorpCalls {
    ORVEXSIM_SLOT(CORP_ldapOpenSession);
    ORVEXSIM_SLOT(CORP_Authenticate);
    ORVEXSIM_SLOT(CORP_ldapBindEx);
    ORVEXSIM_SLOT(CORP_ldapSearch);
    ORVEXSIM_SLOT(CORP_ldapGetEntryListEx);
    ORVEXSIM_SLOT(CORP_ldapCloseSession);
};

#undef ORVEXSIM_SLOT

extern "C" {
const OrvexSimScanCalls* __cdecl OrvexSimInternal_ScanCalls(void);
const OrvexSimZylCalls* __cdecl OrvexSimInternal_ZylCalls(void);
const OrvexSimCorpCalls* __cdecl OrvexSimInternal_CorpCalls(void);
}
