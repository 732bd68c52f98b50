#pragma once
// Runs one of the tools as a program, with no terminal on standard input (a prompt answers as
// a user who cancels), and keeps its exit status and both outputs.
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "TempFolder.h"

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

inline std::string Quoted(const std::string& arg) {
    std::string q = "'";
    for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// The outputs go through files in `folder`.
inline Outcome RunProgram(const std::string& binary, const std::vector<std::string>& args,
                          const TempFolder& folder) {
    std::string command = Quoted(binary);
    for (const auto& a : args) command += " " + Quoted(a);
    command += " </dev/null >" + Quoted(folder.File("stdout")) + " 2>" + Quoted(folder.File("stderr"));
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, folder.Read("stdout"), folder.Read("stderr")};
}
