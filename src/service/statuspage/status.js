'use strict';
// The status page: a tile per device, drawn from /api/devices every few
// seconds. Every text from the monitor goes in as text, never as markup.
(function () {
  const REFRESH_MS = 3000;
  const EVENT_COUNT = 10;
  const STORED_LANGUAGE = 'orvan.language';

  const TEXTS = {
    en: {
      subtitle: 'UPS status', noDevices: 'No devices are listed.', events: 'Recent events',
      updated: 'Updated', address: 'Address', input: 'Input voltage', output: 'Output voltage',
      load: 'Load', battery: 'Battery', runtime: 'min', noAlarms: 'No alarms',
      portOpen: 'Port open', portClosed: 'Port closed', linkDown: 'Bus link down', switchTo: '中文',
      unreachable: 'The monitor does not answer; the values shown are from the last answer.',
    },
    zh: {
      subtitle: 'UPS运行状态', noDevices: '没有设备。', events: '最近事件',
      updated: '更新于', address: '地址', input: '输入电压', output: '输出电压',
      load: '负载率', battery: '电池', runtime: '分钟', noAlarms: '无告警',
      portOpen: '串口已打开', portClosed: '串口已关闭', linkDown: '总线链路中断', switchTo: 'English',
      unreachable: '监控程序无应答；显示的是最后一次应答的数据。',
    },
  };

  // Chosen on the page (?lang=zh or en, or the button, which the browser
  // remembers); otherwise the monitor's Language setting counts.
  let language = new URLSearchParams(location.search).get('lang');
  if (language !== 'en' && language !== 'zh') {
    try { language = localStorage.getItem(STORED_LANGUAGE); } catch (e) { language = null; }
  }
  let last = null;
  let lastEvents = [];

  function lang() {
    if (language === 'en' || language === 'zh') return language;
    return last && last.language === 'zh' ? 'zh' : 'en';
  }
  function t(key) { return TEXTS[lang()][key]; }
  function inLanguage(both) { return both ? (both[lang()] || both.en || '') : ''; }

  function el(tag, className, text) {
    const node = document.createElement(tag);
    if (className) node.className = className;
    if (text !== undefined) node.textContent = text;
    return node;
  }
  function fixed(value, decimals) {
    return typeof value === 'number' && isFinite(value) ? value.toFixed(decimals) : '-';
  }
  function batteryText(values) {
    if (!values) return '-';
    const parts = [];
    if (typeof values.batteryCapacityPercent === 'number') parts.push(values.batteryCapacityPercent + ' %');
    parts.push(values.batteryRuntimeMinutes + ' ' + t('runtime'));
    return parts.join(' · ');
  }

  function cell(tag, text, field) {
    const node = el(tag, '', text);
    if (field) node.dataset.field = field;
    return node;
  }

  // One row of a value with phases A, B and C.
  function phaseRow(label, values, decimals, field) {
    const tr = el('tr');
    tr.appendChild(cell('th', label));
    ['a', 'b', 'c'].forEach((phase, i) =>
      tr.appendChild(cell('td', values ? fixed(values[i], decimals) : '-', field + '-' + phase)));
    return tr;
  }

  function valueTable(v) {
    const table = el('table', 'values');
    const head = el('tr');
    for (const text of ['', 'A', 'B', 'C']) head.appendChild(cell('th', text));
    table.appendChild(head);
    table.appendChild(phaseRow(t('input') + ' (V)', v && v.inputVoltage, 1, 'input-voltage'));
    table.appendChild(phaseRow(t('output') + ' (V)', v && v.outputVoltage, 1, 'output-voltage'));
    table.appendChild(phaseRow(t('load') + ' (%)', v && v.loadPercent, 0, 'load'));
    const battery = el('tr');
    battery.appendChild(cell('th', t('battery')));
    const value = cell('td', batteryText(v), 'battery');
    value.colSpan = 3;
    battery.appendChild(value);
    table.appendChild(battery);
    return table;
  }

  function tile(device) {
    const look = ['online', 'alarm', 'offline'].includes(device.look) ? device.look : 'offline';
    const article = el('article', 'tile ' + look);
    article.id = 'device-' + device.address;
    article.dataset.address = String(device.address);
    const head = el('div', 'tile-head');
    head.appendChild(el('h3', '', device.name));
    head.appendChild(el('span', 'address', t('address') + ' ' + device.address));
    article.appendChild(head);
    const state = el('p', 'state', inLanguage(device.stateText) || '-');
    state.dataset.field = 'state';
    article.appendChild(state);

    article.appendChild(valueTable(device.values));

    const alarms = el('ul', 'alarms');
    alarms.dataset.field = 'alarms';
    if (device.alarms.length === 0) {
      alarms.classList.add('none');
      alarms.appendChild(el('li', '', t('noAlarms')));
    }
    for (const alarm of device.alarms)
      alarms.appendChild(el('li', '', inLanguage(alarm.text) || String(alarm.code)));
    article.appendChild(alarms);
    return article;
  }

  function drawStatic() {
    document.documentElement.lang = lang() === 'zh' ? 'zh-CN' : 'en';
    for (const node of document.querySelectorAll('[data-text]'))
      node.textContent = t(node.dataset.text);
    document.getElementById('language').textContent = t('switchTo');
  }

  function drawDevices() {
    drawStatic();
    if (!last) return;
    const port = document.getElementById('port');
    // A network port is open while its connection is down and retried.
    const reached = last.portOpen && last.linkUp !== false;
    port.textContent = !last.portOpen ? t('portClosed') : reached ? t('portOpen') : t('linkDown');
    port.className = reached ? 'chip' : 'chip bad';
    const tiles = document.getElementById('devices');
    tiles.replaceChildren(...last.devices.map(tile));
    document.getElementById('empty').hidden = last.devices.length > 0;
    document.getElementById('updated').textContent = new Date(last.time).toLocaleString(lang() === 'zh' ? 'zh-CN' : 'en-GB');
  }

  function drawEvents() {
    const list = document.getElementById('events');
    list.replaceChildren(...lastEvents.map(event => {
      const item = el('li');
      item.appendChild(el('time', '', event.time));
      item.appendChild(el('span', '', event.address > 0 ? (event.name || '') + ' (' + event.address + ')' : ''));
      item.appendChild(el('span', '', inLanguage(event.text)));
      return item;
    }));
  }

  function notice(text) {
    const node = document.getElementById('notice');
    node.textContent = text || '';
    node.hidden = !text;
  }

  async function fetchJson(path) {
    const reply = await fetch(path, { cache: 'no-store' });
    if (!reply.ok) throw new Error(path + ': ' + reply.status);
    return reply.json();
  }

  async function refresh() {
    try {
      last = await fetchJson('/api/devices');
      notice('');
      drawDevices();
    } catch (e) {
      notice(t('unreachable'));
    }
    try {
      lastEvents = (await fetchJson('/api/events?limit=' + EVENT_COUNT)).events;
      drawEvents();
    } catch (e) {
      // the devices' notice says it already
    }
  }

  document.getElementById('language').addEventListener('click', () => {
    language = lang() === 'zh' ? 'en' : 'zh';
    try { localStorage.setItem(STORED_LANGUAGE, language); } catch (e) { /* private mode */ }
    drawDevices();
    drawEvents();
  });

  drawStatic();
  refresh();
  setInterval(refresh, REFRESH_MS);
})();
