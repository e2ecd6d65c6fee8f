// The show's data, fetched while the page starts and the show plays. The
// module names the files (one per group of pictures, objects or music) in
// the order the show needs them: first those any start needs, then the rest
// three at a time, so that the link never idles for a round trip between
// two files. Each is handed to the module, which checks its size and
// checksum and keeps it or refuses it. The show itself waits (with
// "loading...") where a scene's data is late.
//
// A file that does not arrive is tried again after a growing pause; after a
// few failures the page says so and goes on trying (at once when the
// browser is back online). A refused file is fetched again a few times, then
// given up with the module's reason.
'use strict';

const zemraData = (() => {
  const triesBeforeTelling = 3;
  const refusalsBeforeGivingUp = 3;
  const inFlight = 3;
  const state = {
    files: [], // { name, size }, in the order needed
    arrived: new Set(),
    bytes: 0, // bytes as sent (encoded), of the files arrived
    log: [], // { name, ms }: when each file arrived, from navigation
    failures: 0,
  };
  let changed = () => {};
  let tell = () => {};
  const waiters = new Set();
  const sleepers = new Set();
  addEventListener('online', () => {
    for (const wake of [...sleepers]) wake();
  });

  // A pause before the next try, cut short when the browser is back online.
  const pause = (ms) =>
    new Promise((resolve) => {
      const wake = () => {
        clearTimeout(timer);
        sleepers.delete(wake);
        resolve();
      };
      const timer = setTimeout(wake, ms);
      sleepers.add(wake);
    });

  // The encoded size of what the browser received for `url`, where known.
  function transferSize(url, fallback) {
    const entries = performance.getEntriesByName(new URL(url, location.href).href);
    const last = entries[entries.length - 1];
    return last && last.transferSize > 0 ? last.transferSize : fallback;
  }

  async function fetchOnce(name) {
    const url = 'data/' + name + '.bin';
    const response = await fetch(url);
    if (!response.ok) throw new Error(url + ': ' + response.status + ' ' + response.statusText);
    const bytes = new Uint8Array(await response.arrayBuffer());
    return { bytes, sent: transferSize(url, bytes.length) };
  }

  function handOver(name, bytes) {
    const pointer = Module._zemra_data_buffer(bytes.length);
    Module.HEAPU8.set(bytes, pointer);
    return Module.ccall('zemra_data_receive', 'string', ['string'], [name]);
  }

  async function load(file) {
    let failures = 0;
    let refusals = 0;
    for (;;) {
      let got;
      try {
        got = await fetchOnce(file.name);
      } catch (error) {
        failures += 1;
        state.failures += 1;
        if (failures === triesBeforeTelling) {
          tell('The show\'s data stopped arriving (' + error.message + '); the page keeps trying.');
        }
        await pause(Math.min(8000, 500 * 2 ** Math.min(failures, 4)));
        continue;
      }
      const refused = handOver(file.name, got.bytes);
      if (!refused) {
        state.arrived.add(file.name);
        state.bytes += got.sent;
        state.log.push({ name: file.name, ms: performance.now() });
        if (failures >= triesBeforeTelling) tell('');
        changed();
        return;
      }
      refusals += 1;
      state.failures += 1;
      if (refusals === refusalsBeforeGivingUp) {
        tell(refused);
        return;
      }
    }
  }

  return {
    state,
    // Starts fetching what the module names. onChange runs after each
    // arrival; onProblem with a text for the viewer ('' once it is over).
    start(onChange, onProblem) {
      changed = () => {
        onChange();
        for (const waiter of [...waiters]) waiter();
      };
      tell = onProblem;
      const plan = Module.ccall('zemra_data_plan', 'string', [], []);
      state.files = plan
        .split('\n')
        .filter((line) => line)
        .map((line) => {
          const [name, size, startup] = line.split(' ');
          return { name, size: Number(size), startup: startup === '1' };
        });
      // What every start needs comes first, alone on the link; then the
      // rest, in order.
      const queue = state.files.filter((file) => !file.startup);
      const worker = async () => {
        while (queue.length > 0) await load(queue.shift());
      };
      Promise.all(state.files.filter((file) => file.startup).map(load)).then(() => {
        for (let i = 0; i < inFlight; i += 1) worker();
      });
    },
    // Resolves once `ready()` holds, asked again after each arrival.
    until(ready) {
      return new Promise((resolve) => {
        const check = () => {
          if (!ready()) return;
          waiters.delete(check);
          resolve();
        };
        waiters.add(check);
        check();
      });
    },
    // Resolves at the next file's arrival.
    nextArrival() {
      const count = state.arrived.size;
      return this.until(() => state.arrived.size !== count);
    },
    // Whether a show can start at `position` ('' for the beginning).
    readyFor: (position) => Module.ccall('zemra_data_ready', 'number', ['string'], [position]) !== 0,
    done: () => state.files.length > 0 && state.arrived.size === state.files.length,
  };
})();
window.zemraData = zemraData;
