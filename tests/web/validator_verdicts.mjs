// The page's schema checker on JSON lines from standard input: one verdict (1 valid, 0 not) a line.
//     node validator_verdicts.mjs SCHEMA VALIDATOR_MODULE < lines
import { readFileSync } from 'node:fs';
import { pathToFileURL } from 'node:url';

const [schemaPath, modulePath] = process.argv.slice(2);
const { Validator } = await import(pathToFileURL(modulePath).href);
const validator = new Validator(JSON.parse(readFileSync(schemaPath, 'utf8')));
const lines = readFileSync(0, 'utf8').split('\n').filter((line) => line !== '');
for (const line of lines) {
  let value;
  try {
    value = JSON.parse(line);
  } catch {
    console.log('0');
    continue;
  }
  console.log(validator.valid(value) ? '1' : '0');
}
