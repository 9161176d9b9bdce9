// The page's IMA ADPCM decoder against sox on the game's fire sound: the same samples, each one.
//     node ima_adpcm_check.mjs DECODER_MODULE WAV
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { pathToFileURL } from 'node:url';

const [module, wav] = process.argv.slice(2);
const { decodeImaAdpcm } = await import(pathToFileURL(module).href);
const file = readFileSync(wav);
const decoded = decodeImaAdpcm(file.buffer.slice(file.byteOffset, file.byteOffset + file.byteLength));
const raw = execFileSync('sox', [wav, '-t', 'raw', '-e', 'signed-integer', '-b', '16', '-'], { maxBuffer: 1 << 26 });
const reference = new Int16Array(raw.buffer, raw.byteOffset, raw.byteLength / 2);
let differ = reference.length === decoded.samples.length ? 0 : 1;
reference.forEach((sample, i) => {
  if (Math.round(decoded.samples[i] * 32768) !== sample) differ += 1;
});
console.log(`${reference.length} samples at ${decoded.rate} Hz; ${differ} differ from sox`);
process.exit(differ === 0 && reference.length > 0 ? 0 : 1);
