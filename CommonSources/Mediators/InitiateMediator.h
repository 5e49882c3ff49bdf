#pragma once
// Copies the initiate pane's scan settings into the job attributes of a new scan, one setting
// group at a time, asking the pane (its InitiateClient) whether each group applies and for its
// values. A group that does not apply leaves the attributes as they were.

class InitiateClient;
class ScanAttributeWrapper;

class InitiateMediator {
public:
    // Both are borrowed.
    InitiateMediator(ScanAttributeWrapper* attributes, InitiateClient* client);
    InitiateMediator(const InitiateMediator&) = delete;
    InitiateMediator& operator=(const InitiateMediator&) = delete;
    virtual ~InitiateMediator();

    // Every group, in a fixed order (OCR after erase border).
    virtual void ApplyAll();
    virtual void ApplyScanSource();
    virtual void ApplySides();
    virtual void ApplyBindDirection();
    virtual void ApplyResolution();
    virtual void ApplyPageSize();
    virtual void ApplyColorMode();
    virtual void ApplyOrientation();
    virtual void ApplyCompression();
    virtual void ApplyBackgroundRemoval();
    virtual void ApplyBrightness();
    virtual void ApplyImageMode();
    virtual void ApplyInternetFax();
    virtual void ApplyOcr();
    virtual void ApplyDropOutColor();
    virtual void ApplySplitMode();
    virtual void ApplyEraseBorder();
    virtual void ApplyThinMedia();
    virtual void ApplyDuplexOddPage();
    virtual void ApplySharpness();
    virtual void ApplyBackgroundAdjust();
    virtual void ApplyExposure();
    virtual void ApplyImageRotate();

private:
    ScanAttributeWrapper* m_attributes;
    InitiateClient* m_client;
};
