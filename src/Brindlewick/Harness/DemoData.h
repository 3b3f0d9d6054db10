#pragma once

#include "Date.h"

#include <QString>
#include <optional>

class AppModel;

// The throw-away demo world of demo runs, the self-test and the screenshots: the demo notes in a
// folder of their own, with the demo settings and the welcome already done.
namespace DemoData {

// The moment frozen worlds stand still at, so every run sees the same picture: Wednesday
// 11 June 2025, 14:35 on the local clock.
Date frozenNow();

// Points `model` at a fresh demo world in `root` and fills it with the demo notes as of `now`
// (the current time when none), saved. With `frozen` the model's clock stands still at `now`.
void prepare(AppModel &model, const QString &root, std::optional<Date> now, bool frozen);

// Removes what a demo world in `root` wrote: its notebook and any notebook set aside as damaged,
// then the folders they leave empty. Anything else found there is left alone.
void remove(const QString &root);

} // namespace DemoData
