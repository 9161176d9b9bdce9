// IMA ADPCM WAV files decoded by hand: the fire's sound is one, and browsers decode only plain
// PCM WAV files themselves.

const STEPS = [
  7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 19, 21, 23, 25, 28, 31, 34, 37, 41, 45, 50, 55, 60, 66, 73, 80, 88, 97,
  107, 118, 130, 143, 157, 173, 190, 209, 230, 253, 279, 307, 337, 371, 408, 449, 494, 544, 598, 658, 724, 796,
  876, 963, 1060, 1166, 1282, 1411, 1552, 1707, 1878, 2066, 2272, 2499, 2749, 3024, 3327, 3660, 4026, 4428, 4871,
  5358, 5894, 6484, 7132, 7845, 8630, 9493, 10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623,
  27086, 29794, 32767,
];
const INDEX_CHANGE = [-1, -1, -1, -1, 2, 4, 6, 8];
const IMA_ADPCM = 0x11;

const clamp = (value, low, high) => Math.min(high, Math.max(low, value));

function chunks(view) {
  const found = {};
  if (view.byteLength < 12 || view.getUint32(0) !== 0x52494646 || view.getUint32(8) !== 0x57415645) return found;
  for (let at = 12; at + 8 <= view.byteLength;) {
    const id = String.fromCharCode(...new Uint8Array(view.buffer, view.byteOffset + at, 4));
    const size = view.getUint32(at + 4, true);
    found[id] = { start: at + 8, size: Math.min(size, view.byteLength - at - 8) };
    at += 8 + size + (size % 2);
  }
  return found;
}

// The samples of one block: its header holds the first sample and the step's index, then each
// byte holds two samples, the low nibble first.
function decodeBlock(view, start, end, out, at) {
  let sample = view.getInt16(start, true);
  let index = clamp(view.getUint8(start + 2), 0, STEPS.length - 1);
  out[at++] = sample / 32768;
  for (let i = start + 4; i < end; i++) {
    const byte = view.getUint8(i);
    for (const nibble of [byte & 0x0f, byte >> 4]) {
      const step = STEPS[index];
      let diff = step >> 3;
      if (nibble & 4) diff += step;
      if (nibble & 2) diff += step >> 1;
      if (nibble & 1) diff += step >> 2;
      sample = clamp(nibble & 8 ? sample - diff : sample + diff, -32768, 32767);
      index = clamp(index + INDEX_CHANGE[nibble & 7], 0, STEPS.length - 1);
      out[at++] = sample / 32768;
    }
  }
  return at;
}

// The file's rate and mono samples, or null when it is no mono IMA ADPCM WAV file.
export function decodeImaAdpcm(bytes) {
  const view = new DataView(bytes);
  const { 'fmt ': format, data } = chunks(view);
  if (!format || !data || format.size < 16) return null;
  if (view.getUint16(format.start, true) !== IMA_ADPCM || view.getUint16(format.start + 2, true) !== 1) return null;
  const rate = view.getUint32(format.start + 4, true);
  const blockAlign = view.getUint16(format.start + 12, true);
  if (blockAlign <= 4) return null;
  const perBlock = (blockAlign - 4) * 2 + 1;
  const samples = new Float32Array(Math.ceil(data.size / blockAlign) * perBlock);
  let written = 0;
  for (let block = data.start; block + 4 <= data.start + data.size; block += blockAlign) {
    written = decodeBlock(view, block, Math.min(block + blockAlign, data.start + data.size), samples, written);
  }
  return { rate, samples: samples.subarray(0, written) };
}
