#pragma once
// What the page's script calls in the page's core, besides the game's own events: the files
// the page fetched or restored, the settings' saves that the page stores under the browser's
// lock, the coach's table built by the worker, and the layout table the page places its
// controls from.

namespace quintaro {

class Coach;

// The coach that takes the worker's table.
void setWebCoach(Coach* coach);

}  // namespace quintaro
