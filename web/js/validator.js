// Checks a message against the protocol's JSON Schema. Only the keywords the protocol's schema
// uses are known; any other one is refused when the schema is read, so that a schema grown past
// this checker fails loudly instead of letting messages through unchecked.

const ANNOTATIONS = new Set(['$schema', '$id', 'title', 'description', '$comment', '$defs']);
const KEYWORDS = new Set([
  '$ref', 'oneOf', 'allOf', 'type', 'properties', 'required', 'dependentRequired', 'additionalProperties',
  'const', 'enum', 'if', 'then', 'else', 'not', 'minimum', 'maximum', 'minLength', 'maxLength', 'pattern',
  'items', 'minItems', 'maxItems',
]);

function typeOf(value) {
  if (value === null) return 'null';
  if (Array.isArray(value)) return 'array';
  return typeof value;
}

function hasType(value, type) {
  switch (type) {
    case 'integer': return Number.isInteger(value);
    case 'number': return typeof value === 'number' && Number.isFinite(value);
    default: return typeOf(value) === type;
  }
}

function equal(a, b) {
  if (typeOf(a) !== typeOf(b)) return false;
  if (Array.isArray(a)) return a.length === b.length && a.every((x, i) => equal(x, b[i]));
  if (typeOf(a) === 'object') {
    const keys = Object.keys(a);
    return keys.length === Object.keys(b).length && keys.every((k) => k in b && equal(a[k], b[k]));
  }
  return a === b;
}

// Lengths count characters (code points), as JSON Schema does, not UTF-16 units.
const length = (text) => [...text].length;

function checkKeywords(schema, where) {
  if (typeof schema === 'boolean') return;
  if (typeof schema !== 'object' || schema === null) throw new Error(`${where}: no es un esquema`);
  for (const key of Object.keys(schema)) {
    if (!KEYWORDS.has(key) && !ANNOTATIONS.has(key)) throw new Error(`${where}: palabra clave ${key} no admitida`);
  }
  for (const key of ['if', 'then', 'else', 'not', 'items', 'additionalProperties']) {
    if (typeof schema[key] === 'object') checkKeywords(schema[key], `${where}/${key}`);
  }
  for (const [name, sub] of Object.entries(schema.properties ?? {})) checkKeywords(sub, `${where}/properties/${name}`);
  for (const key of ['oneOf', 'allOf']) (schema[key] ?? []).forEach((sub, i) => checkKeywords(sub, `${where}/${key}/${i}`));
  for (const [name, sub] of Object.entries(schema.$defs ?? {})) checkKeywords(sub, `${where}/$defs/${name}`);
}

export class Validator {
  constructor(root) {
    checkKeywords(root, '#');
    this.root = root;
    this.patterns = new Map();
  }

  // Whether the value is valid under the definition named (the whole schema when none is).
  valid(value, definition) {
    return this.check(value, definition ? this.resolve(`#/$defs/${definition}`) : this.root);
  }

  resolve(ref) {
    const match = /^#\/\$defs\/([^/]+)$/.exec(ref);
    const found = match && this.root.$defs?.[match[1]];
    if (!found) throw new Error(`referencia desconocida ${ref}`);
    return found;
  }

  regex(source) {
    if (!this.patterns.has(source)) this.patterns.set(source, new RegExp(source, 'u'));
    return this.patterns.get(source);
  }

  check(value, s) {
    if (s === true) return true;
    if (s === false) return false;
    if (s.$ref && !this.check(value, this.resolve(s.$ref))) return false;
    if (s.oneOf && s.oneOf.filter((sub) => this.check(value, sub)).length !== 1) return false;
    if (s.allOf && !s.allOf.every((sub) => this.check(value, sub))) return false;
    if (s.not && this.check(value, s.not)) return false;
    if (s.if) {
      const branch = this.check(value, s.if) ? s.then : s.else;
      if (branch !== undefined && !this.check(value, branch)) return false;
    }
    if (s.type && ![].concat(s.type).some((t) => hasType(value, t))) return false;
    if ('const' in s && !equal(value, s.const)) return false;
    if (s.enum && !s.enum.some((e) => equal(value, e))) return false;
    return this.checkNumber(value, s) && this.checkString(value, s) && this.checkArray(value, s) &&
      this.checkObject(value, s);
  }

  checkNumber(value, s) {
    if (typeof value !== 'number') return true;
    return !(s.minimum !== undefined && value < s.minimum) && !(s.maximum !== undefined && value > s.maximum);
  }

  checkString(value, s) {
    if (typeof value !== 'string') return true;
    if (s.minLength !== undefined && length(value) < s.minLength) return false;
    if (s.maxLength !== undefined && length(value) > s.maxLength) return false;
    return s.pattern === undefined || this.regex(s.pattern).test(value);
  }

  checkArray(value, s) {
    if (!Array.isArray(value)) return true;
    if (s.minItems !== undefined && value.length < s.minItems) return false;
    if (s.maxItems !== undefined && value.length > s.maxItems) return false;
    return s.items === undefined || value.every((item) => this.check(item, s.items));
  }

  checkObject(value, s) {
    if (typeOf(value) !== 'object') return true;
    if (s.required && !s.required.every((name) => Object.hasOwn(value, name))) return false;
    for (const [name, needed] of Object.entries(s.dependentRequired ?? {})) {
      if (Object.hasOwn(value, name) && !needed.every((other) => Object.hasOwn(value, other))) return false;
    }
    const properties = s.properties ?? {};
    for (const [name, item] of Object.entries(value)) {
      if (Object.hasOwn(properties, name)) {
        if (!this.check(item, properties[name])) return false;
      } else if (s.additionalProperties !== undefined && !this.check(item, s.additionalProperties)) {
        return false;
      }
    }
    return true;
  }
}
