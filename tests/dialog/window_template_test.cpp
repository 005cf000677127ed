// The Windows window's dialog templates carry their own captions and labels (the resource
// compiler needs them there), while both windows show the dialog layer's texts. This test reads
// the resource script and holds every text in it to the dialog layer's, so that the two never
// drift apart.

#include "dialog_texts.h"
#include "question_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

using namespace velkaro::dialog;

// One text of the resource script: the dialog template (or STRINGTABLE) it stands in, the
// control's identifier (CAPTION for the template's own), and the text.
struct TemplateText {
    std::string dialog;
    std::string control;
    std::string text;
    friend bool operator==(const TemplateText &, const TemplateText &) = default;
};

void PrintTo(const TemplateText &text, std::ostream *out) {
    *out << text.dialog << " " << text.control << " \"" << text.text << "\"";
}

// Every non-empty text of the script, in its order. A line with a text in quotes that is none of
// the known statements fails the test, so that a new kind of statement cannot slip past it.
std::vector<TemplateText> templateTexts(const std::string &path) {
    static const std::regex dialog(R"re(^(\w+)\s+DIALOGEX\b.*)re");
    static const std::regex caption(R"re(^CAPTION\s+"([^"]*)"\s*$)re");
    static const std::regex control(R"re(^\s*CONTROL\s+"([^"]*)"\s*,\s*([\w-]+)\s*,.*)re");
    static const std::regex entry(R"re(^\s*(IDS_\w+)\s+"([^"]*)"\s*$)re");
    // Comments, files, the font, and an icon control, whose first field names the icon.
    static const std::regex other(
        R"re(^\s*(//|#include\b|FONT\b|IDB_\w+ BITMAP\b|\w+ RT_MANIFEST\b|CONTROL IDI_\w+,).*)re");
    std::ifstream file(path);
    EXPECT_TRUE(file) << path;
    std::vector<TemplateText> texts;
    std::string current;
    std::smatch match;
    for (std::string line; std::getline(file, line);) {
        if (std::regex_match(line, match, dialog)) {
            current = match[1];
        } else if (line.starts_with("STRINGTABLE")) {
            current = "STRINGTABLE";
        } else if (std::regex_match(line, match, caption)) {
            texts.push_back({current, "CAPTION", match[1]});
        } else if (std::regex_match(line, match, control)) {
            texts.push_back({current, match[2], match[1]});
        } else if (std::regex_match(line, match, entry)) {
            texts.push_back({current, match[1], match[2]});
        } else {
            const bool quoted = line.find('"') != std::string::npos;
            EXPECT_FALSE(quoted && !std::regex_match(line, other)) << "unread line: " << line;
        }
    }
    std::erase_if(texts, [](const TemplateText &text) { return text.text.empty(); });
    return texts;
}

[[nodiscard]] std::string text(std::string_view view) {
    return std::string(view);
}

TEST(WindowTemplate, EveryTextIsTheDialogLayers) {
    const std::string cancel = velkaro::wording::cancelText();
    const std::vector<TemplateText> expected = {
        {"IDD_ABOUTBOX", "CAPTION", text(kAboutTitle)},
        {"IDD_ABOUTBOX", "-1", text(kAboutNameText)},
        {"IDD_ABOUTBOX", "-1", text(kAboutNotice)},
        {"IDD_ABOUTBOX", "IDOK", text(kOkText)},
        {"IDD_POINTCONVERT_DIALOG", "IDC_LABEL_SOURCE", text(kSourceCaptionTemplate)},
        {"IDD_POINTCONVERT_DIALOG", "IDC_NAME_FILENAME", text(kFileNameBoxName)},
        {"IDD_POINTCONVERT_DIALOG", "IDC_BROWSE", text(kBrowseText)},
        {"IDD_POINTCONVERT_DIALOG", "IDC_CONVERT", text(kConvertText)},
        {"IDD_POINTCONVERT_DIALOG", "IDC_NAME_FORMAT", text(kFormatListName)},
        {"IDD_POINTCONVERT_DIALOG", "IDC_LABEL_FORMAT", text(kFormatCaption)},
        {"IDD_POINTCONVERT_DIALOG", "IDC_SETTINGS", text(kSettingsButtonText)},
        {"IDD_SETTINGS", "CAPTION", text(kSettingsTitle)},
        {"IDD_SETTINGS", "IDC_CODEPAGE_CAPTION", text(kCodePageCaption)},
        {"IDD_SETTINGS", "IDC_AXES_CAPTION", text(kAxesCaption)},
        {"IDD_SETTINGS", "IDC_LABELS", text(kLabelsText)},
        {"IDD_SETTINGS", "IDC_HEIGHT_CAPTION", text(kLabelHeightCaption)},
        {"IDD_SETTINGS", "IDC_DECIMALS_CAPTION", text(kLabelDecimalsCaption)},
        {"IDD_SETTINGS", "IDC_CASS_CAPTION", text(kCassColumnsCaption)},
        {"IDD_SETTINGS", "IDC_SKIP_JUNK", text(kSkipJunkText)},
        {"IDD_SETTINGS", "IDC_SUMMARY", text(kSummaryText)},
        {"IDD_SETTINGS", "IDC_OUTPUT_CAPTION", text(kOutputCaption)},
        {"IDD_SETTINGS", "IDC_BESIDE_SOURCE", text(kBesideSourceItem)},
        {"IDD_SETTINGS", "IDC_TO_FOLDER", text(kFolderItem)},
        {"IDD_SETTINGS", "IDC_CHOOSE_FOLDER", text(kChooseFolderText)},
        {"IDD_SETTINGS", "IDC_LAYOUT_CAPTION", text(kSourceLayoutCaption)},
        {"IDD_SETTINGS", "IDC_ROLES_CAPTION", text(kLayoutCustomItem)},
        {"IDD_SETTINGS", "IDC_ENCODING_CAPTION", text(kSourceEncodingCaption)},
        {"IDD_SETTINGS", "IDC_CRS_CAPTION", text(kCrsCaption)},
        {"IDD_SETTINGS", "IDC_PREVIEW_CAPTION", text(kPreviewCaption)},
        {"IDD_SETTINGS", "IDC_DEFAULTS", text(kDefaultsText)},
        {"IDD_SETTINGS", "IDOK", text(kOkText)},
        {"IDD_SETTINGS", "IDCANCEL", cancel},
        {"IDD_RESULT", "CAPTION", text(kResultTitle)},
        {"IDD_RESULT", "IDC_OPEN_FOLDER", text(kOpenFolderText)},
        {"IDD_RESULT", "IDOK", text(kOkText)},
        {"IDD_PROGRESS", "CAPTION", text(kProgressTitle)},
        {"IDD_PROGRESS", "IDCANCEL", cancel},
        {"STRINGTABLE", "IDS_ABOUTBOX", text(kAboutEntryText)},
    };
    EXPECT_EQ(templateTexts(VELKARO_WINDOW_RESOURCES), expected);
}

} // namespace
