#pragma once

#include <windows.h>

#include <string>

// The program: starts the common controls, runs the main dialog modally, and ends when it ends.
// Knows the executable's path, from which the application's name (the title of boxes that bring
// none of their own) and the help file's path are made.
class CPointConvertApp {
  public:
    explicit CPointConvertApp(HINSTANCE instance);

    // Runs the main dialog to its end; the program's exit status, always 0.
    [[nodiscard]] int Run();

    // F1: opens the user's manual, "manual\index.html" beside the executable, with the program
    // that shows web pages, and says "启动帮助失败。" where there is none or it cannot be shown.
    void ShowHelp(HWND owner) const;

    [[nodiscard]] HINSTANCE instance() const { return m_instance; }
    [[nodiscard]] const std::string &applicationName() const { return m_applicationName; }

  private:
    HINSTANCE m_instance;
    std::wstring m_executablePath;
    std::string m_applicationName; // UTF-8
};
