#pragma once
#include <string>
#include <vector>

#include "common/poll_operator.h"

namespace tarnwick::cli {

// The operator port of the command-line tool: pauses and waits block in
// poll() as the benchmark's do; the boxes a flow shows are kept to be
// reported with the host's result, and every question is answered no.
class CliOperator : public tools::PollOperator {
  public:
    void ShowMessage(const std::string& text) override { boxes.push_back(text); }
    void Information(const std::string& text) override { boxes.push_back(text); }
    void Warning(const std::string& text) override { boxes.push_back(text); }
    void Error(const std::string& text) override { boxes.push_back(text); }
    bool Ask(const std::string& text) override {
        boxes.push_back(text);
        return false;
    }

    std::vector<std::string> boxes;
};

}  // namespace tarnwick::cli
