#pragma once

namespace zentorix::app {

class ToolGroup;

class MainWindow;

// PhotoButton9 on the tool bar; its count is UpDown1 on the options page (edit
// Edit10, 1..500, 10). With the Select tool it writes that many pictures of the
// selected cells into "screenshots", "screen" + (generation + k + 100000) +
// ".bmp", one plain step after each.
void AddSnapshotSeries(MainWindow& window, ToolGroup* bar);

// The series itself; gives the number of pictures written. A picture that
// cannot be written stops the series with a message naming the file. With
// `gif` (the box SnapshotGif beside UpDown1) the pictures become the frames of
// one animated GIF, "screen" + (generation + 1 + 100000) + ".gif", written
// whole once the series is over.
int TakeSnapshotSeries(MainWindow& window, int count, bool gif = false);

}  // namespace zentorix::app
