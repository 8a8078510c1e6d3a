// The hop: while the cursor walks, code "01" (which otherwise does nothing
// then) puts it on the next button, link or other clickable element ahead in
// the walking direction and stops the walk there, so the next "1" clicks
// it. Walking the last stretch by timing is what makes small targets slow
// for a switch user; the hop needs only the rough direction. Off unless the
// person switches it on.
#ifndef HOPLA_MOTION_ELEMENT_HOP_H_
#define HOPLA_MOTION_ELEMENT_HOP_H_

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "motion/directions.h"
#include "platform/platform.h"

namespace hopla {

// The roles a person clicks: push, check and radio buttons, links, page
// tabs, menu items, list and tree items, combo boxes, editable text, split
// and drop-down buttons.
inline constexpr std::array<int64_t, 13> kHopRoles = {
    0x2B, 0x2C, 0x2D, 0x1E, 0x25, 0x0C, 0x22,
    0x24, 0x2E, 0x2A, 0x38, 0x39, 0x3E};

// How long the hop waits for the elements: a program that does not answer
// must not hold the switch up for longer.
inline constexpr int32_t kHopWaitMs = 1500;

// Where the hop from `from` in the direction `unit` lands: the centre of the
// clickable element ahead (beginning beyond the cursor, within 45 degrees
// either side) that is nearest, counting a step aside twice as much as a
// step ahead, so the one in line wins over one beside it. The first listed
// (the one in front) wins a tie.
std::optional<Point> HopTarget(const std::vector<ElementBox>& elements,
                               Point from, StepVector unit);

// The part of `screen` ahead of `from` in the direction `unit`, where the
// hop may land: asking only there keeps the search short in programs with
// thousands of elements.
Rect AheadArea(Point from, StepVector unit, const Rect& screen);

// The elements in `area`, asked for on a thread of its own while the UI
// thread goes on answering what other threads send to its windows (the
// question reaches Hopla's own window too). Nothing when no answer came
// within kHopWaitMs; the late answer is then dropped.
std::optional<std::vector<ElementBox>> FindElements(Platform& platform,
                                                    const Rect& area);

// The same for a thread that owns no windows (the walk's): it waits
// plainly, and gives up as soon as `give_up` says so. `done` runs on the
// searching thread once the answer is in, however late, before the wait
// learns of it.
std::optional<std::vector<ElementBox>> FindElementsOffUi(
    Platform& platform, const Rect& area, const std::function<bool()>& give_up,
    std::function<void()> done);

}  // namespace hopla

#endif  // HOPLA_MOTION_ELEMENT_HOP_H_
