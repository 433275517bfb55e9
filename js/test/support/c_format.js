// C's printf conversions that the native digest writes: %a (exact
// hexadecimal doubles, as glibc writes them) and %.17g.

const bits = new DataView(new ArrayBuffer(8));

export function hexDouble(value) {
  if (Number.isNaN(value)) {
    bits.setFloat64(0, value);
    return bits.getUint8(0) & 0x80 ? '-nan' : 'nan';
  }
  const sign = value < 0 || Object.is(value, -0) ? '-' : '';
  if (!Number.isFinite(value)) return `${sign}inf`;
  bits.setFloat64(0, value);
  const high = bits.getUint32(0);
  const low = bits.getUint32(4);
  const exponent = (high >>> 20) & 0x7ff;
  const fraction = ((high & 0xfffff).toString(16).padStart(5, '0') + low.toString(16).padStart(8, '0')).replace(/0+$/, '');
  if (exponent === 0 && fraction === '') return `${sign}0x0p+0`;
  const lead = exponent === 0 ? '0' : '1';
  const power = exponent === 0 ? -1022 : exponent - 1023;
  return `${sign}0x${lead}${fraction ? `.${fraction}` : ''}p${power < 0 ? '-' : '+'}${Math.abs(power)}`;
}

export function general17(value) {
  if (value === 0) return Object.is(value, -0) ? '-0' : '0';
  if (!Number.isFinite(value)) return Number.isNaN(value) ? 'nan' : value < 0 ? '-inf' : 'inf';
  const [mantissa, exponentText] = value.toExponential(16).split('e');
  const exponent = Number(exponentText);
  const negative = mantissa.startsWith('-');
  const digits = mantissa.replace('-', '').replace('.', '');
  let text;
  if (exponent < -4 || exponent >= 17) {
    const trimmed = `${digits[0]}.${digits.slice(1)}`.replace(/\.?0+$/, '');
    text = `${trimmed}e${exponent < 0 ? '-' : '+'}${String(Math.abs(exponent)).padStart(2, '0')}`;
  } else if (exponent < 0) {
    text = `0.${'0'.repeat(-exponent - 1)}${digits}`.replace(/\.?0+$/, '');
  } else {
    text = `${digits.slice(0, exponent + 1)}.${digits.slice(exponent + 1)}`.replace(/\.?0+$/, '');
  }
  return negative ? `-${text}` : text;
}
