#pragma once
// The printing service on GDI. Positions stay in twips until the last call
// and are converted with the printer's LOGPIXELSX/Y there.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/printing.h"

namespace orv::win32 {

class Win32Printing : public platform::Printing {
  public:
    Win32Printing();  // the current printer starts as the system's default
    ~Win32Printing() override;
    Win32Printing(const Win32Printing&) = delete;
    Win32Printing& operator=(const Win32Printing&) = delete;

    std::vector<std::string> InstalledPrinters() override;
    std::string CurrentPrinter() override;
    void SelectDefaultPrinter() override;
    bool OutputAsksForFile() override;
    void SelectPrinter(const std::string& deviceName) override;
    void SetBackColor(uint32_t colorRef) override;
    void SetOrientation(int16_t orientation) override;
    void SetFontName(const std::string& face) override;
    void SetFontSize(double points) override;
    float ScaleWidth() override;
    float ScaleHeight() override;
    float TextHeight(const std::string& text) override;
    void PrintLine(float x, float y, const std::string& text) override;
    void PaintPicture(const Image& picture, float x, float y, float width, float height,
                      uint32_t rasterOp) override;
    void EndDoc() override;

  private:
    HDC Dc();  // the printer DC, created on first need
    std::vector<BYTE> DevMode();
    void ApplyFont();
    void ApplyBackColor();
    void StartOutput();
    void Release();  // abandons an unfinished document and frees the DC
    int DeviceX(float twips) const;
    int DeviceY(float twips) const;

    std::string current_;
    int16_t orientation_ = 0;  // 0: as the printer's defaults have it
    std::string fontFace_ = "Arial";
    double fontSize_ = 10;
    uint32_t backColor_ = 0xFFFFFF;
    bool backColorSet_ = false;

    HDC dc_ = nullptr;
    HFONT font_ = nullptr;
    HGDIOBJ originalFont_ = nullptr;
    int logPixelsX_ = 0, logPixelsY_ = 0;
    bool docStarted_ = false;
};

}  // namespace orv::win32
