// Storage: the one place that knows where the player's files live. They are
// the module's folder /data, kept in IndexedDB; the tabs of one browser take
// turns at them through a Web Lock, and each turn first reads in what
// another tab stored. The page asks the browser to keep them (persistent
// storage) rather than evict them when space runs short.
const LOCK_NAME = 'vrel-player-files';
// Each open tab holds a lock of its own name for as long as it lives, so
// that the others can tell an open tab's words from a closed one's.
const TAB_LOCK = 'vrel-tab-';

export class Storage {
  constructor(module) {
    this.module = module;
    this.releases = new Map();
    this.nextToken = 1;
    this.tab = crypto.randomUUID?.() ?? `${Date.now()}-${Math.random().toString(16).slice(2)}`;
    navigator.locks?.request(TAB_LOCK + this.tab, () => new Promise(() => {})).catch(() => {});
  }

  // The names of the game's tabs open in this browser now.
  async openTabs() {
    if (!navigator.locks) return [this.tab];
    try {
      const { held } = await navigator.locks.query();
      return held.map(lock => lock.name).filter(name => name.startsWith(TAB_LOCK))
        .map(name => name.slice(TAB_LOCK.length));
    } catch {
      return [this.tab];
    }
  }

  // Takes the lock; answers a token for unlock, or 0 when it could not.
  lock() {
    const token = this.nextToken++;
    if (!navigator.locks) return Promise.resolve(token);
    return new Promise(resolve => {
      navigator.locks.request(LOCK_NAME, () => new Promise(release => {
        this.releases.set(token, release);
        resolve(token);
      })).catch(() => resolve(0));
    });
  }

  unlock(token) {
    const release = this.releases.get(token);
    this.releases.delete(token);
    if (release) release();
  }

  // Reads the stored files in (populate true) or stores the folder; false
  // when the browser refused.
  sync(populate) { return this.module.syncStoredFiles(populate); }

  // Mounts the folder, asks for persistent storage and makes sure that the
  // edition's dictionary is there: at the first visit the shipped one, which
  // the promise shipped gives (null when it could not be fetched). Answers
  // whether the browser's storage could be read.
  async open(code, shipped) {
    this.module.mountStoredFiles();
    if (navigator.storage && navigator.storage.persist) navigator.storage.persist().catch(() => {});
    const FS = this.module.FS;
    const token = await this.lock();
    try {
      let stored = await this.sync(true);
      const folder = `/data/${code}`;
      if (!FS.analyzePath(folder).exists) FS.mkdir(folder);
      if (!FS.analyzePath(`${folder}/VREL.DAT`).exists) {
        // Without it the program's own fatal box reports the missing file.
        const words = await shipped;
        if (!words) return stored;
        FS.writeFile(`${folder}/VREL.DAT`, words);
        if (stored) stored = await this.sync(false);
      }
      return stored;
    } finally {
      this.unlock(token);
    }
  }
}

// The edition's VREL.DAT as shipped: gzip-compressed, unless the server has
// already undone that.
export async function fetchDictionary(code) {
  const response = await fetch(`data/${code}/VREL.DAT.gz`);
  if (!response.ok) throw new Error(`data/${code}/VREL.DAT.gz: ${response.status}`);
  const bytes = new Uint8Array(await response.arrayBuffer());
  if (bytes[0] !== 0x1F || bytes[1] !== 0x8B) return bytes;
  const stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('gzip'));
  return new Uint8Array(await new Response(stream).arrayBuffer());
}
