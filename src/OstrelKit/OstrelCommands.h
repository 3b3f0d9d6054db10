#pragma once

class QAction;
class QMenu;

// The kit's menu command: "Check for Updates…", placed after the program's "About" item. It is greyed
// out in a copy without an update feed.
class OstrelCommands {
public:
    OstrelCommands() = default;

    QAction *addTo(QMenu &menu) const;
};
