// The recorder's web page in Debian's Chromium, driven like a person would:
// the page loads, File List opens the list, Down moves the highlight, Blue
// held and let go asks for a permanent delete, Exit hides the list.
//   PVR_URL=http://127.0.0.1:PORT/ node recorder.test.mjs
// PVR_SCREENSHOT=FILE only opens the list and writes a picture of the page.
import {chromium} from 'playwright-core';
import {mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';

const url = process.env.PVR_URL;
const chromiumPath = process.env.PVR_CHROMIUM || '/usr/bin/chromium';
if (!url) {
  console.error('PVR_URL is not set');
  process.exit(2);
}

let failures = 0;
let step = '';
function check(condition, what) {
  if (condition) {
    console.log(`  ok   ${what}`);
  } else {
    console.log(`  FAIL ${what}`);
    failures++;
  }
  return condition;
}

// --- reading the screen in the page -----------------------------------------------
// The page keeps named snapshots of the screen image; comparisons run there so
// that no pixels travel to the test.
const pageHelpers = () => {
  const snaps = new Map();
  window.__snap = async (name) => {
    const img = document.getElementById('screen');
    // While the live picture shows, a new frame may replace the image during
    // decode(), which then rejects; the next frame decodes.
    for (let tries = 0;; tries++) {
      try {
        await img.decode();
        break;
      } catch (e) {
        if (tries >= 20) throw e;
        await new Promise((r) => setTimeout(r, 20));
      }
    }
    const c = document.createElement('canvas');
    c.width = 720;
    c.height = 576;
    const g = c.getContext('2d', {willReadFrequently: true});
    g.drawImage(img, 0, 0);
    snaps.set(name, g.getImageData(0, 0, 720, 576).data);
    return Number(img.dataset.frames || 0);
  };
  // Pixels that differ between two snapshots, within rows y0..y1-1: their
  // count, bounding box and the bands of consecutive changed rows.
  window.__diff = (a, b, y0 = 0, y1 = 576) => {
    const p = snaps.get(a);
    const q = snaps.get(b);
    let changed = 0;
    let minX = 720, minY = 576, maxX = -1, maxY = -1;
    const rows = [];
    for (let y = y0; y < y1; y++) {
      let rowChanged = false;
      for (let x = 0; x < 720; x++) {
        const i = (y * 720 + x) * 4;
        if (p[i] !== q[i] || p[i + 1] !== q[i + 1] || p[i + 2] !== q[i + 2]) {
          changed++;
          rowChanged = true;
          if (x < minX) minX = x;
          if (x > maxX) maxX = x;
          if (y < minY) minY = y;
          if (y > maxY) maxY = y;
        }
      }
      rows.push(rowChanged);
    }
    let bands = 0;
    for (let i = 0; i < rows.length; i++) if (rows[i] && (i === 0 || !rows[i - 1])) bands++;
    return {changed, bands, box: maxX < 0 ? null : {x: minX, y: minY, w: maxX - minX + 1,
                                                       h: maxY - minY + 1}};
  };
};

async function frames(page) {
  return page.evaluate(() => Number(document.getElementById('screen').dataset.frames || 0));
}

// Waits for the screen to change after an action and then to settle: a new
// frame, then no further frame for `quiet` ms (the live picture never
// settles, so with it showing a fixed pause follows the first new frame).
async function settle(page, before, {quiet = 600, timeout = 8000, live = false} = {}) {
  const start = Date.now();
  while (await frames(page) === before) {
    if (Date.now() - start > timeout) return false;
    await page.waitForTimeout(50);
  }
  if (live) {
    await page.waitForTimeout(quiet);
    return true;
  }
  let last = await frames(page);
  let since = Date.now();
  while (Date.now() - since < quiet && Date.now() - start < timeout + 4000) {
    await page.waitForTimeout(50);
    const now = await frames(page);
    if (now !== last) {
      last = now;
      since = Date.now();
    }
  }
  return true;
}

async function state(page) {
  return page.evaluate(() => window.pvrState || null);
}

async function waitForState(page, test, timeout = 5000) {
  const start = Date.now();
  while (Date.now() - start < timeout) {
    const s = await state(page);
    if (s && test(s)) return s;
    await page.waitForTimeout(50);
  }
  return state(page);
}

async function press(page, name) {
  const f = await frames(page);
  await page.click(`#remote button[data-key="${name}"]`);
  return f;
}

// --- the run ---------------------------------------------------------------------------
const userDataDir = mkdtempSync(join(tmpdir(), 'pvr-chromium-'));
const context = await chromium.launchPersistentContext(userDataDir, {
  executablePath: chromiumPath,
  headless: true,
  viewport: {width: 1480, height: 940},
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync',
         '--disable-default-apps', '--disable-extensions', '--no-default-browser-check'],
});
// Nothing but the recorder: every other request is refused.
await context.route('**/*', (route) => {
  const target = new URL(route.request().url());
  if (target.origin === new URL(url).origin || target.protocol === 'data:') return route.continue();
  return route.abort();
});

try {
  const page = context.pages()[0] || await context.newPage();
  page.on('pageerror', (e) => {
    console.log(`  FAIL script error on the page: ${e.message}`);
    failures++;
  });
  await page.addInitScript(pageHelpers);

  // The recorder may still be starting.
  let loaded = false;
  for (let i = 0; i < 100 && !loaded; i++) {
    try {
      await page.goto(url, {waitUntil: 'load', timeout: 5000});
      loaded = true;
    } catch {
      await page.waitForTimeout(100);
    }
  }
  if (!loaded) throw new Error(`the page at ${url} does not load`);

  if (process.env.PVR_SCREENSHOT) {
    await page.waitForTimeout(2500);  // the clock and the recording advance a little
    await settle(page, 0, {live: true});
    await page.waitForTimeout(1500);
    const f = await press(page, 'File List');
    await settle(page, f);
    await page.waitForTimeout(500);
    await page.screenshot({path: process.env.PVR_SCREENSHOT});
    console.log(`screenshot: ${process.env.PVR_SCREENSHOT}`);
  } else {
    step = 'the page loads';
    console.log(step);
    check(await page.title() === 'Pavrolinex – emulated recorder', 'title');
    check(await settle(page, 0, {live: true}), 'a frame of the screen arrives');
    const size = await page.evaluate(() => {
      const img = document.getElementById('screen');
      return [img.naturalWidth, img.naturalHeight, img.clientWidth, img.clientHeight];
    });
    check(size.join() === '720,576,720,576', `screen 720 x 576 at true size (${size.join(' ')})`);
    const keys = await page.$$eval('#remote button', (bs) => bs.map((b) => b.dataset.key));
    const expected = ['Mute', 'UHF', 'TvSat', 'M', 'Sleep', '1', '2', '3', '4', '5', '6', '7',
      '8', '9', '0', 'Recall', 'Info', 'Right Arrow', 'Left Arrow', 'Up Arrow', 'Down Arrow',
      'Ok', 'Menu', 'Guide', 'TV/Radio', 'Audio Track', 'Subtitle', 'Teletext', 'Exit', 'Fav',
      'Fast Forward', 'Rewind', 'Play', 'Pause', 'Record', 'Stop', 'Slow Motion', 'Previous',
      'File List', 'Next', 'Red', 'Green', 'Yellow', 'Blue', 'Sat', 'Option (White)',
      'Ab (White)'];
    const missing = expected.filter((k) => !keys.includes(k));
    check(missing.length === 0 && keys.length === expected.length,
        `the remote has every key (${keys.length}; missing: ${missing.join(', ') || 'none'})`);
    const colours = await page.$$eval('#remote button.colour', (bs) =>
      bs.map((b) => `${b.dataset.key}:${getComputedStyle(b).backgroundImage}`));
    check(colours.length === 4 && /Red:.*rgb\(2\d\d, \d+, \d+\)/.test(colours[0]) &&
          colours.some((c) => c.startsWith('Blue:')), 'the colour keys are coloured');
    check(await page.locator('#keymap kbd', {hasText: 'Esc'}).count() === 1,
        'the keyboard mapping is shown');
    check(await page.locator('#keymap td', {hasText: 'status screen'}).count() === 1,
        'the mapping names the key of the status screen');
    // The arrows sit around OK, none behind another button, and none looks
    // pressed before it is used.
    const dpadLaidOut = () => page.$$eval('#remote .dpad button', (bs) => {
      const box = (k) => bs.find((b) => b.dataset.key === k).getBoundingClientRect();
      const ok = box('Ok');
      const down = box('Down Arrow');
      const menu = box('Menu');
      const overlaps = !(down.right <= menu.left || menu.right <= down.left ||
                         down.bottom <= menu.top || menu.bottom <= down.top);
      const raised = bs.every((b) => getComputedStyle(b).transform === 'none');
      return down.top >= ok.bottom && box('Up Arrow').bottom <= ok.top && !overlaps && raised;
    });
    check(await dpadLaidOut(), 'the arrows lie around OK and none looks pressed');
    let s = await waitForState(page, (x) => x.clock && !x.osd);
    check(s && !s.osd && !s.playback, `normal viewing, clock ${s && s.clock}`);
    const consoleText = await page.textContent('#console');
    check(consoleText.includes('Pavrolinex'), 'the network output is shown');
    const appsText = await page.textContent('#apps');
    check(appsText.includes('Pavrolinex') && appsText.includes('Tagsmith'),
        `the running applications are listed (${appsText})`);

    step = 'File List opens the list';
    console.log(step);
    await page.evaluate(() => window.__snap('live'));
    let f = await press(page, 'File List');
    check(await settle(page, f), 'the screen changes');
    await page.evaluate(() => window.__snap('list'));
    let d = await page.evaluate(() => window.__diff('live', 'list'));
    check(d.changed > 720 * 576 * 0.3, `most of the screen is the list (${d.changed} pixels)`);
    s = await waitForState(page, (x) => x.osd);
    check(s && s.osd, 'the firmware reports the application on screen');

    step = 'Down moves the highlight, once a click';
    console.log(step);
    // The list opens on its last entry: the first Down wraps to the first
    // page, the second moves to the next row, and only that far.
    f = await press(page, 'Down Arrow');
    check(await settle(page, f), 'the screen changes');
    await page.evaluate(() => window.__snap('down1'));
    f = await press(page, 'Down Arrow');
    check(await settle(page, f), 'the screen changes again');
    await page.evaluate(() => window.__snap('down'));
    // Rows of the list only (below the title line, whose clock may tick
    // meanwhile, and above the bottom area).
    d = await page.evaluate(() => window.__diff('down1', 'down', 66, 476));
    check(d.changed > 0 && d.bands === 2 && d.box.h < 70,
        `two neighbouring rows change: the old and the new highlight (${d.changed} pixels, ` +
        `${d.bands} bands, ${d.box && d.box.h} pixels high)`);
    check(await dpadLaidOut(), 'after use, Down is still below OK, not behind Menu');

    step = 'Blue asks before deleting';
    console.log(step);
    // A short press first: with this disk's settings it offers the recycle bin.
    f = await press(page, 'Blue');
    check(await settle(page, f), 'a short Blue changes the screen');
    await page.evaluate(() => window.__snap('recycle'));
    d = await page.evaluate(() => window.__diff('down', 'recycle', 66, 576));
    check(d.box && d.changed > 2000 && d.box.w * d.box.h < 720 * 576 * 0.8,
        `a window opens over the list (${JSON.stringify(d.box)})`);
    const dialog = d.box;
    f = await press(page, 'Exit');
    check(await settle(page, f), 'Exit closes it');
    await page.evaluate(() => window.__snap('closed'));
    d = await page.evaluate(() => window.__diff('down', 'closed', 66, 476));
    check(d.changed === 0, `the list is as before (${d.changed} pixels differ)`);

    step = 'holding Blue and letting go asks for a permanent delete';
    console.log(step);
    f = await frames(page);
    const blue = page.locator('#remote button[data-key="Blue"]');
    await blue.hover();
    await page.mouse.down();
    await page.waitForTimeout(1500);  // held reports follow after half a second
    await page.mouse.up();
    check(await settle(page, f), 'the screen changes');
    await page.evaluate(() => window.__snap('permanent'));
    d = await page.evaluate(() => window.__diff('closed', 'permanent', 66, 576));
    check(d.box && d.changed > 2000 && d.box.w * d.box.h < 720 * 576 * 0.8,
        `a window opens over the list (${JSON.stringify(d.box)})`);
    if (dialog) {
      d = await page.evaluate((b) => window.__diff('recycle', 'permanent', b.y, b.y + b.h),
          dialog);
      check(d.changed > 0, `it asks otherwise than the short press (${d.changed} pixels)`);
    }
    f = await press(page, 'Exit');
    check(await settle(page, f), 'Exit closes it');

    step = 'Left and OK answer the delete question Yes';
    console.log(step);
    f = await press(page, 'Blue');
    check(await settle(page, f), 'a short Blue asks');
    await page.evaluate(() => window.__snap('asked'));
    f = await press(page, 'Left Arrow');
    check(await settle(page, f), 'Left moves the highlight');
    await page.evaluate(() => window.__snap('yes'));
    d = await page.evaluate((b) => window.__diff('asked', 'yes', b.y, b.y + b.h),
        dialog || {y: 66, h: 410});
    check(d.changed > 0, `the answer shown changes (${d.changed} pixels)`);
    f = await press(page, 'Ok');
    check(await settle(page, f), 'OK answers');
    await page.evaluate(() => window.__snap('recycled'));
    // The selected recording has gone: its row and those below it show the
    // recordings that follow, and no window is left over the list.
    d = await page.evaluate(() => window.__diff('closed', 'recycled', 66, 476));
    check(d.changed > 2000, `the recording leaves the list (${d.changed} pixels)`);
    d = await page.evaluate(() => window.__diff('closed', 'recycled', 36, 64));
    check(d.changed > 0, `the title counts one entry less (${d.changed} pixels)`);

    step = 'Exit hides the list';
    console.log(step);
    f = await press(page, 'Exit');
    check(await settle(page, f, {live: true}), 'the screen changes');
    s = await waitForState(page, (x) => !x.osd);
    check(s && !s.osd, 'the firmware is back in normal viewing');
    await page.evaluate(() => window.__snap('again'));
    // Below the moving bars the live picture is still: name and label.
    d = await page.evaluate(() => window.__diff('live', 'again', 400, 576));
    check(d.changed === 0, `the live picture shows again (${d.changed} pixels differ)`);

    step = 'the PC keyboard';
    console.log(step);
    f = await frames(page);
    await page.keyboard.press('f');
    check(await settle(page, f), 'F opens the list');
    s = await waitForState(page, (x) => x.osd);
    check(s && s.osd, 'the application is on screen');
    f = await frames(page);
    await page.keyboard.press('Escape');
    check(await settle(page, f, {live: true}), 'Escape hides it');
    s = await waitForState(page, (x) => !x.osd);
    check(s && !s.osd, 'normal viewing again');
  }
} catch (e) {
  console.log(`  FAIL ${step}: ${e.stack || e}`);
  failures++;
} finally {
  await context.close();
  rmSync(userDataDir, {recursive: true, force: true});
}

if (failures) {
  console.log(`browser test: ${failures} check(s) failed`);
  process.exitCode = 1;
} else {
  console.log('browser test: passed');
}
