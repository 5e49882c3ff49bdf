#pragma once
// Base of the three image transfers (native, memory, file): what they share on the TWAIN side.
// The page itself is the scan model's: each transfer hands the negotiated values to the
// current scan command, which reads the page and delivers it.
//
// The TWAIN states around a transfer are TransferStates' table.

#include "AbstractDataArg.h"
#include "ImageAttributes.h"

class AbstractSource;
class DataArg_UserInterface;
class ScanCommandIntf;
struct PageTransferRequest;

class ImageXferBase : public AbstractDataArg {
public:
    // Neither is owned; the user-interface handler is null for a source that was not opened.
    ImageXferBase(AbstractSource* source, DataArg_UserInterface* userInterface);
    ~ImageXferBase() override;

    // ICAP_XFERMECH becomes the transfer's mechanism; a refused change is noted and the
    // transfer goes on.
    virtual void EnsureTransferMechanism(TW_UINT16 mechanism);
    virtual ImageAttributes GetImageAttributes();
    // Ends the progress display, drops the scan command's job and clears the stop request.
    virtual void ResetTransfer();
    // The page is handed over: the scan command moves to the next one.
    virtual void EndPage();
    virtual AbstractSource* GetSource();
    virtual DataArg_UserInterface* GetUserInterface();

protected:
    // The current source's scan command; never null.
    ScanCommandIntf& Command();
    // The request of the negotiated values, with the user interface for progress and stop.
    PageTransferRequest MakeRequest(const ImageAttributes& attributes);
    // Whether the user asked the acquisition to stop.
    bool IsStopRequested();
    void EndProgress();
    // ServerDownException once the scan session has lost its server.
    void RequireServer(const char* file, int line);

private:
    AbstractSource* m_source;
    DataArg_UserInterface* m_userInterface;
};
