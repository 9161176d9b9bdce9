// The lobby as a real form: the open tables, and at a table its ten characters, each row with
// its own buttons and labels so that a screen reader's own navigation reaches everything.

// The same words as the native game's lobby.
const count = (n, singular, plural) => `${n} ${n === 1 ? singular : plural}`;
const timeLimit = (seconds) => (seconds === 0 ? 'sin límite de tiempo' : `${seconds} segundos por elección`);

function describeTable(t) {
  let text = `Mesa ${t.id}${t.private ? ', privada' : ', pública'}`;
  if (t.started) text += ', en juego';
  text += `, ${count(t.players, 'jugador', 'jugadores')}, ${count(t.spectators, 'espectador', 'espectadores')}`;
  if (!t.started) text += `, ${count(t.free, 'personaje libre', 'personajes libres')}`;
  return `${text}, ${timeLimit(t.time_limit)}`;
}

function describeCharacter(c) {
  if (c.yours) return `${c.name}, suyo`;
  return c.player ? `${c.name}, de ${c.player}` : `${c.name}, libre`;
}

function cell(row, content) {
  const td = document.createElement('td');
  if (typeof content === 'string') td.textContent = content;
  else td.append(content);
  row.append(td);
  return td;
}

function button(text, label, onClick) {
  const b = document.createElement('button');
  b.type = 'button';
  b.textContent = text;
  b.setAttribute('aria-label', label);
  b.addEventListener('click', onClick);
  return b;
}

// actions: join(id, asSpectator)
export function showTables(body, tables, actions) {
  body.replaceChildren();
  for (const t of tables) {
    const row = document.createElement('tr');
    row.dataset.description = describeTable(t);
    const heading = document.createElement('th');
    heading.scope = 'row';
    heading.textContent = t.id + (t.private ? ' (privada)' : '');
    row.append(heading);
    cell(row, String(t.players));
    cell(row, String(t.free));
    cell(row, String(t.spectators));
    cell(row, t.time_limit === 0 ? 'Sin límite' : `${t.time_limit} s`);
    cell(row, t.started ? 'En juego' : 'Esperando');
    const join = button('Jugar', `Jugar en la mesa ${t.id}`, () => actions.join(t.id, false));
    join.disabled = t.started || t.free === 0;
    join.classList.add('entrada');
    const watch = button('Mirar', `Mirar la mesa ${t.id}`, () => actions.join(t.id, true));
    const both = document.createElement('span');
    both.append(join, ' ', watch);
    cell(row, both);
    body.append(row);
  }
}

// actions: toggle(character, take), rename(character, name)
export function showCharacters(body, table, actions) {
  body.replaceChildren();
  for (const c of table.characters) {
    const row = document.createElement('tr');
    row.dataset.description = describeCharacter(c);
    const heading = document.createElement('th');
    heading.scope = 'row';
    heading.textContent = c.name;
    row.append(heading);
    cell(row, c.yours ? 'Usted' : (c.player ?? 'El ordenador'));
    const box = document.createElement('input');
    box.type = 'checkbox';
    box.id = `controlar-${c.character}`;
    box.className = 'entrada';
    box.checked = c.yours;
    box.disabled = table.spectator || (Boolean(c.player) && !c.yours);
    box.addEventListener('change', () => actions.toggle(c.character, box.checked));
    const label = document.createElement('label');
    label.htmlFor = box.id;
    label.textContent = ` Jugar con ${c.name}`;
    const take = document.createElement('span');
    take.append(box, label);
    cell(row, take);
    const form = document.createElement('form');
    form.className = 'renombrar';
    const field = document.createElement('input');
    field.id = `nombre-${c.character}`;
    field.maxLength = 40;
    field.value = c.name;
    field.disabled = !c.yours;
    const fieldLabel = document.createElement('label');
    fieldLabel.htmlFor = field.id;
    fieldLabel.textContent = `Nuevo nombre de ${c.name}`;
    fieldLabel.className = 'solo-lector';
    const submit = document.createElement('button');
    submit.textContent = 'Cambiar el nombre';
    submit.disabled = !c.yours;
    form.append(fieldLabel, field, ' ', submit);
    form.addEventListener('submit', (event) => {
      event.preventDefault();
      actions.rename(c.character, field.value);
    });
    cell(row, form);
    body.append(row);
  }
}
