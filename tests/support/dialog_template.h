// A dialog template as the test program's resources hold it, read the way the dialog manager reads
// it: the classic DLGTEMPLATE or the extended DLGTEMPLATEEX.
#pragma once

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

// Classes, texts and names given by an ordinal read as "#n"; a class given by name reads in lower
// case.
struct TemplateControl {
    int id = 0;
    std::wstring className;
    std::wstring text;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    WORD creationDataBytes = 0;
    bool operator==(const TemplateControl&) const = default;
};

void PrintTo(const TemplateControl& control, std::ostream* out);

struct DialogTemplate {
    bool extended = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring menu, windowClass, title;
    // The weight, italic flag and character set are in the extended form only.
    WORD pointSize = 0, weight = 0;
    BYTE italic = 0, charset = 0;
    std::wstring typeface;
    std::vector<TemplateControl> controls;
};

// Fails the current test when the template is missing.
DialogTemplate ReadDialogTemplate(int templateId);
