#pragma once

#include "archive/engine/unrar.h"

#include <functional>
#include <string>
#include <vector>

// Assigns every handler of a TUnRAR and records each event as one line, with
// the folder `root` written as "~". Tests steer the answers through the
// decide* members.
class UnrarEvents {
public:
    UnrarEvents(TUnRAR& rar, std::string root) : root_(std::move(root)) { attach(rar); }

    std::vector<std::string> lines;
    std::function<bool(const std::string& fn)> decideExists; // Accept
    std::function<bool(const std::string& fn)> decideBegin;  // Extract
    std::function<void(const std::string& fn, uint8_t progress)> whileProgress;
    std::function<bool(std::string& password)> decidePassword;           // TryAgain
    std::function<bool(std::string& dir, std::string& fn)> decideVolume; // Cancel

    std::string shorten(const std::string& path) const
    {
        return !root_.empty() && path.rfind(root_, 0) == 0 ? "~" + path.substr(root_.size()) : path;
    }

private:
    void add(const std::string& line) { lines.push_back(line); }

    void attach(TUnRAR& rar)
    {
        rar.OnActivate = [this](TObject*) { add("activate"); };
        rar.OnDeactivate = [this](TObject*) { add("deactivate"); };
        rar.OnError = [this](TObject*, const std::string& fn, const std::string& volume,
                             int32_t code) {
            add("error " + std::to_string(code) + " " + fn + " volume " + volume);
        };
        rar.OnBegin = [this](TObject*, const std::string& fn, int32_t recNum, bool& extract) {
            add("begin " + std::to_string(recNum) + " " + shorten(fn));
            if (decideBegin)
                extract = decideBegin(fn);
        };
        rar.OnProgress = [this](TObject*, const std::string& fn, uint8_t progress) {
            add("progress " + std::to_string(progress) + " " + shorten(fn));
            if (whileProgress)
                whileProgress(fn, progress);
        };
        rar.OnEnd = [this](TObject*, const std::string& fn, bool pass) {
            add(std::string("end ") + (pass ? "ok " : "fail ") + shorten(fn));
        };
        rar.OnFileExists = [this](TObject*, const std::string& fn, TDateTime date, bool& accept) {
            add("exists " + shorten(fn) + " " + std::to_string(static_cast<long>(date)));
            if (decideExists)
                accept = decideExists(fn);
        };
        rar.OnGetPassword = [this](TObject*, const std::string& fn, std::string& password,
                                   bool& tryAgain) {
            add("password " + fn + " [" + password + "]");
            if (decidePassword)
                tryAgain = decidePassword(password);
        };
        rar.OnNextVolume = [this](TObject*, std::string& dir, std::string& fn,
                                  const std::string& volume, bool& cancel) {
            add("volume " + shorten(dir) + " " + fn + " " + volume);
            if (decideVolume)
                cancel = decideVolume(dir, fn);
        };
    }

    std::string root_;
};
