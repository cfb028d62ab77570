// Windows-1252, the code page of every edition's texts: bytes to text and
// back. A character the code page lacks becomes '?', as an ANSI window
// receives it.
const HIGH = [
  0x20AC, 0x81, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D, 0x017D, 0x8F,
  0x90, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D, 0x017E, 0x0178,
];
const BYTE_OF = new Map(HIGH.map((code, i) => [code, 0x80 + i]));

export function decode(bytes) {
  let text = '';
  for (const b of bytes) text += String.fromCharCode(b >= 0x80 && b < 0xA0 ? HIGH[b - 0x80] : b);
  return text;
}

export function encode(text) {
  const bytes = [];
  for (const ch of text) {
    const code = ch.codePointAt(0);
    if (BYTE_OF.has(code)) bytes.push(BYTE_OF.get(code));
    else if (code < 0x100 && !(code >= 0x80 && code < 0xA0)) bytes.push(code);
    else bytes.push(0x3F);
  }
  return new Uint8Array(bytes);
}
