// The coach's worker: builds the coach's table in the game's own code, off the page's thread,
// and posts its values (moved, not copied) with the time it took.
importScripts("quintaro-coach.js");

createCoach().then((coach) => {
  const start = performance.now();
  coach._quintaro_coach_build();
  const ms = performance.now() - start;
  const count = coach._quintaro_coach_count();
  const first = coach._quintaro_coach_values() / 8;
  const values = new Float64Array(coach.HEAPF64.subarray(first, first + count));
  postMessage({ values, ms }, [values.buffer]);
}, () => postMessage({ values: null, ms: 0 }));
