// What the main-window tests share: an offscreen application for the whole
// test program, dialogs that record every box instead of showing it, and a
// main window working in a program directory of its own (with ixo_engine and ixo_cli), so that test
// programs running side by side never share input.tmp or output.tmp.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "platform/platform_run_host.h"
#include "ui/Unit1.h"
#include "ui/Unit2.h"
#include "ui/dialogs.h"

namespace ixo {

// Answers the open-file dialog from a script and records every box.
class ScriptedDialogs final : public Dialogs {
 public:
  QString OpenFileName(QWidget*, const QString& directory) override {
    asked_directories.push_back(directory);
    return file_to_open;
  }
  void ShowMessage(QWidget*, const QString& text) override { messages.push_back(text); }
  void ShowError(QWidget*, const QString& message) override {
    errors.push_back(ErrorBoxText(message));
  }

  QString file_to_open;
  std::vector<QString> asked_directories;
  std::vector<QString> messages;
  std::vector<QString> errors;  // as the error box shows them
};

// 300 values of a fixed pseudo-random sequence in [-1, 1): enough close pairs
// for every dimension, small enough for quick engine runs.
std::string SmallSeries();

// The main window with its histogram window, over a fresh program directory
// that holds a link to the real engine.
class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest();

  // Writes `text` to a data file outside the program directory; its full path.
  std::string WriteDataFile(const std::string& name, const std::string& text);
  // Loads `path` through the "..." button, as the user would.
  void Load(const std::string& path);
  // Handles events until the run in progress has ended (Timer1 stopped).
  void WaitForRunEnd();

  std::string InputTmp() const { return program_directory_ + "input.tmp"; }

  QTemporaryDir directory_;
  QTemporaryDir data_directory_;
  std::string program_directory_;
  PlatformRunHost host_;
  ScriptedDialogs dialogs_;
  std::vector<std::string> opened_links_;
  TForm1 form_;
  TForm2 form2_;
};

}  // namespace ixo
