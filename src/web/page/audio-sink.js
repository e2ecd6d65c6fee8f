// The show's sound on the audio thread: plays the chunks of interleaved
// stereo samples the page sends, in order, and reports how many frames it
// has played. Where no chunk is waiting it plays silence and does not count
// it, so the count stays the position of the sound actually heard; the
// silence played for want of a chunk once the song has begun is counted
// apart (starved frames: each is a gap in the music). It also reports the
// frames waiting in its queue: how far the sound runs ahead of the listener.
// Messages carry a generation: a reset starts a new one (a new song), and
// chunks of an older one are dropped.
class ZemraSink extends AudioWorkletProcessor {
  constructor() {
    super();
    this.generation = 0;
    this.queue = [];
    this.offset = 0; // frames of queue[0] already played
    this.played = 0;
    this.starved = 0;
    this.queued = 0;
    this.sinceReport = 0;
    this.port.onmessage = (event) => {
      const message = event.data;
      if (message.reset !== undefined) {
        this.generation = message.reset;
        this.queue = [];
        this.offset = 0;
        this.played = 0;
        this.starved = 0;
        this.queued = 0;
      } else if (message.generation === this.generation) {
        this.queue.push(message.samples);
        this.queued += message.samples.length / 2;
      }
    };
  }

  process(inputs, outputs) {
    const left = outputs[0][0];
    const right = outputs[0][1] || left;
    let at = 0;
    while (at < left.length && this.queue.length > 0) {
      const chunk = this.queue[0];
      const frames = Math.min(left.length - at, chunk.length / 2 - this.offset);
      for (let i = 0; i < frames; i++) {
        left[at + i] = chunk[2 * (this.offset + i)];
        right[at + i] = chunk[2 * (this.offset + i) + 1];
      }
      at += frames;
      this.offset += frames;
      this.played += frames;
      this.queued -= frames;
      if (this.offset * 2 >= chunk.length) {
        this.queue.shift();
        this.offset = 0;
      }
    }
    if (this.played > 0) this.starved += left.length - at;
    this.sinceReport += left.length;
    if (this.sinceReport >= 256) {
      this.sinceReport = 0;
      this.port.postMessage({ generation: this.generation, played: this.played, starved: this.starved,
                              queued: this.queued });
    }
    return true;
  }
}

registerProcessor('zemra-sink', ZemraSink);
