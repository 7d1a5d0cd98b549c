#pragma once

#include <gtest/gtest.h>

#include <QRect>
#include <QString>

#include <memory>
#include <ostream>
#include <vector>

// Rectangles in failure messages.
inline void PrintTo(const QRect& rect, std::ostream* out) {
    *out << "(" << rect.x() << ", " << rect.y() << ") " << rect.width() << " x " << rect.height();
}

class Color;
class CommandBarControl;
class frmMain;

// Starts the program as the process does (start-up procedure, main window loaded, shown and initialised)
// and takes it all down again after each test.
class MainWindowFixture : public ::testing::Test {
public:
    // Runs the start-up procedure and finds the main window it showed; none when start-up stopped early.
    static frmMain* StartProgram();
    // Closes and deletes every top-level window and empties the program-wide variables.
    static void StopProgram();

protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the control with that id as a click or key binding would.
    void Execute(int id);
    CommandBarControl* Find(int id) const;
    // The packed RGB values the proofers show, in order.
    std::vector<int32_t> ProoferColors() const;
    std::vector<std::shared_ptr<Color>> ProoferColorObjects() const;

    frmMain* window = nullptr;
};
