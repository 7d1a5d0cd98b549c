#pragma once

#include "platform/MessageBox.h"

#include <QString>

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

namespace TestEnvironment {

// Points HOME, the XDG folders and TMPDIR into the given folder and creates them.
void PrepareHome(const QString& home);
// The temporary home of this test program.
QString Home();
// Puts every seam back to the real dialogs.
void Reset();

// The number of the RuntimeError the action raises, 0 when it raises none.
int32_t ErrorNumberOf(const std::function<void()>& action);

}  // namespace TestEnvironment

// Answers message boxes from a script and records what was asked, for as long as it lives.
class ScriptedMessageBox {
public:
    explicit ScriptedMessageBox(std::deque<int> answers = {});
    ~ScriptedMessageBox();

    void Answer(int answer) { m_answers.push_back(answer); }
    const std::vector<MessageBox::Request>& Requests() const { return m_requests; }

private:
    std::deque<int> m_answers;
    std::vector<MessageBox::Request> m_requests;
};
