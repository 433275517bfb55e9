// The parameter form of an indicator, made from its table row: a number
// field per parameter (with its default, range and step) or a list of the
// moving-average types.
const camelCase = (name) => name.replace(/_([a-z0-9])/g, (_, letter) => letter.toUpperCase());

export function paramForm(form, info, maTypes) {
  form.replaceChildren();
  for (const param of info.params) {
    const label = document.createElement('label');
    label.textContent = `${param.name} `;
    let field;
    if (param.kind === 'ma_type') {
      field = document.createElement('select');
      field.className = 'param';
      maTypes.forEach((name, code) => field.append(new Option(name, String(code), false, code === param.default)));
    } else {
      field = document.createElement('input');
      field.type = 'number';
      field.value = String(param.default);
      field.step = param.kind === 'integer' ? '1' : 'any';
      field.title = `${param.min}..${param.max}`;
    }
    field.name = param.name;
    label.append(field);
    form.append(label);
  }
}

// The options object of the form's values, by the package's parameter names.
export function readForm(form, info) {
  const options = {};
  for (const param of info.params) options[camelCase(param.name)] = Number(form.querySelector(`[name="${param.name}"]`).value);
  return options;
}
