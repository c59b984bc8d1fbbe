// Plays a movie page written by Quib: the timeline (timeline.js, loaded before this script)
// lists per frame the stage picture (whole or the changed rectangle), the cursor, the display time
// and the buttons. Everything is drawn into one canvas at the movie's size in pixels; CSS scales it.
(function () {
  "use strict";

  var timeline = window.quibTimeline;
  var folder = document.currentScript.src.replace(/[^/]*$/, "");
  var canvas = document.getElementById("quib-canvas");
  var message = document.getElementById("quib-message");

  function showError(text) {
    message.textContent = text;
    message.hidden = false;
  }

  if (!timeline || !timeline.frames || timeline.frames.length === 0) {
    showError("Impossibile mostrare il filmato: la sequenza dei frame (timeline.js) manca o è danneggiata.");
    return;
  }

  var frames = timeline.frames;
  var last = frames.length - 1;
  var frameMs = 1000 / timeline.frameRate;
  var context = canvas.getContext("2d");
  var stage = document.createElement("canvas");
  stage.width = canvas.width;
  stage.height = canvas.height;
  var stageContext = stage.getContext("2d");
  var stageFrame = -1;  // the frame whose picture the stage holds

  // Pictures by file name: a promise while loading, the image once decoded.
  var loading = {};
  var images = {};

  // Only the files are fetched here; the browser decodes a picture when it is drawn, so a long
  // movie does not hold every decoded picture at once.
  function load(file) {
    if (!loading[file]) {
      loading[file] = new Promise(function (resolve, reject) {
        var image = new Image();
        image.onload = function () {
          images[file] = image;
          resolve(image);
        };
        image.onerror = function () {
          showError("Impossibile mostrare il filmato: l'immagine " + file + " manca o è danneggiata.");
          reject(new Error(file));
        };
        image.src = folder + encodeURIComponent(file);
      });
    }
    return loading[file];
  }

  function isWhole(frame) {
    return frame.whole === true;
  }

  function filesOf(frameIndexes) {
    var files = [];
    frameIndexes.forEach(function (i) {
      frames[i].pictures.forEach(function (picture) { files.push(picture[0]); });
    });
    return files;
  }

  // The frames whose pictures draw frame k's stage from what it holds now.
  function picturesFor(k) {
    if (stageFrame === k)
      return [];
    var first = k;
    if (stageFrame !== k - 1) {
      while (first > 0 && !isWhole(frames[first]))
        first--;
    }
    var list = [];
    for (var i = first; i <= k; i++)
      if (frames[i].pictures)
        list.push(i);
    return list;
  }

  function stageReady(k) {
    return filesOf(picturesFor(k)).every(function (file) { return images[file]; });
  }

  function buildStage(k) {
    if (stageFrame === k)
      return;
    picturesFor(k).forEach(function (i) {
      frames[i].pictures.forEach(function (picture) {
        stageContext.drawImage(images[picture[0]], picture[1], picture[2]);
      });
    });
    stageFrame = k;
  }

  // Playing state: "glide" (the cursor moves towards frame's position over the previous stage),
  // "waiting" (for frame's pictures), "hold", "stopped" (buttons), "paused" (after Left), "end".
  var state = { frame: 0, phase: "waiting", elapsed: 0 };

  function shownFrame() {
    return state.phase === "glide" || state.phase === "waiting" ? Math.max(state.frame - 1, 0) : state.frame;
  }

  function enter(k, phase) {
    state.frame = k;
    state.elapsed = 0;
    if (!stageReady(k)) {
      state.phase = "waiting";
      Promise.all(filesOf(picturesFor(k)).map(load)).then(function () {
        if (state.phase === "waiting" && state.frame === k) {
          enter(k, phase);
          draw();
        }
      }, function () {});
      return false;
    }
    buildStage(k);
    state.phase = phase === "hold" && frames[k].stops ? "stopped" : phase;
    announce(k);
    return true;
  }

  function advance(ms) {
    for (var guard = 0; guard < 100000; guard++) {
      var frame = frames[state.frame];
      var duration;
      if (state.phase === "glide") {
        duration = frame.glide * frameMs;
        if (state.elapsed + ms < duration) {
          state.elapsed += ms;
          break;
        }
        ms -= duration - state.elapsed;
        if (!enter(state.frame, "hold"))
          break;
      } else if (state.phase === "hold") {
        duration = frame.hold * frameMs;
        if (state.elapsed + ms < duration) {
          state.elapsed += ms;
          break;
        }
        ms -= duration - state.elapsed;
        if (state.frame === last) {
          state.phase = "end";
          break;
        }
        state.frame++;
        state.phase = "glide";
        state.elapsed = 0;
      } else {
        break;
      }
    }
    draw();
  }

  function goTo(k, play) {
    k = Math.max(0, Math.min(last, k));
    enter(k, play ? "hold" : "paused");
    draw();
  }

  function cursorPosition() {
    var frame = frames[state.frame];
    if (state.phase !== "glide" && state.phase !== "waiting")
      return frame.cursor[2] >= 0 ? { x: frame.cursor[0], y: frame.cursor[1], picture: frame.cursor[2] } : null;
    var from = frames[state.frame - 1].cursor;
    if (from[2] < 0)
      return null;
    var to = frame.cursor;
    var t = frame.glide > 0 ? Math.min(state.elapsed / (frame.glide * frameMs), 1) : 1;
    return {
      x: from[0] + Math.trunc((to[0] - from[0]) * t),
      y: from[1] + Math.trunc((to[1] - from[1]) * t),
      picture: from[2]
    };
  }

  function draw() {
    if (stageFrame < 0)
      return;
    context.drawImage(stage, 0, 0);
    var frame = frames[state.frame];
    var resting = state.phase !== "glide" && state.phase !== "waiting";
    if (resting && frame.mark && images[frame.mark]) {
      // The cursor as the editor draws it, blended into the stage under it.
      context.drawImage(images[frame.mark], frame.markAt[0], frame.markAt[1]);
    } else {
      var cursor = cursorPosition();
      var picture = cursor && images[timeline.cursors[cursor.picture]];
      if (picture)
        context.drawImage(picture, cursor.x, cursor.y);
    }
    var shown = shownFrame();
    document.getElementById("quib-done").style.width = ((shown + 1) * 100 / frames.length) + "%";
    document.getElementById("quib-position").textContent =
      timeline.frameText.replace("%d", shown + 1).replace("%d", frames.length);
  }

  // The frame's title and callout text as text: the page title and a region screen readers speak.
  function announce(k) {
    var frame = frames[k];
    document.title = frame.title ? frame.title + " – " + timeline.name : timeline.name;
    var text = [frame.title, frame.text].filter(Boolean).join(". ");
    var live = document.getElementById("quib-live");
    if (live.textContent !== text)
      live.textContent = text;
  }

  function buttonAt(x, y) {
    if (state.phase !== "stopped" && state.phase !== "paused" && state.phase !== "hold")
      return null;
    var buttons = frames[state.frame].buttons || [];
    for (var b = 0; b < buttons.length; b++) {
      var r = buttons[b].rect;
      if (x >= r[0] && y >= r[1] && x < r[0] + r[2] && y < r[1] + r[3])
        return buttons[b];
    }
    return null;
  }

  function press(button) {
    if (button.action === "next") {
      if (state.frame < last) {
        state.frame++;
        state.phase = "glide";
        state.elapsed = 0;
      }
      draw();
    } else {
      goTo(button.frame, button.action === "play");
    }
  }

  function canvasPoint(event) {
    var box = canvas.getBoundingClientRect();
    return {
      x: Math.floor((event.clientX - box.left) * canvas.width / box.width),
      y: Math.floor((event.clientY - box.top) * canvas.height / box.height)
    };
  }

  canvas.addEventListener("click", function (event) {
    var p = canvasPoint(event);
    var button = buttonAt(p.x, p.y);
    if (button)
      press(button);
  });
  canvas.addEventListener("mousemove", function (event) {
    var p = canvasPoint(event);
    canvas.style.cursor = buttonAt(p.x, p.y) ? "pointer" : "";
  });

  document.addEventListener("keydown", function (event) {
    if (event.altKey || event.ctrlKey || event.metaKey)
      return;
    var shown = shownFrame();
    if (event.key === "ArrowRight" || event.key === " ")
      goTo(shown + 1, true);
    else if (event.key === "ArrowLeft")
      goTo(shown - 1, false);
    else if (event.key === "Home")
      goTo(0, true);
    else if (event.key === "End")
      goTo(last, true);
    else
      return;
    event.preventDefault();
  });

  // Fitted to the window with the aspect kept, or one canvas pixel per screen pixel.
  var actualSize = false;
  var scaleButton = document.getElementById("quib-scale");
  function layout() {
    var ratio = window.devicePixelRatio || 1;
    var scale = 1 / ratio;
    if (!actualSize) {
      var area = canvas.parentElement;
      scale = Math.min(area.clientWidth / canvas.width, area.clientHeight / canvas.height);
    }
    canvas.style.width = canvas.width * scale + "px";
    canvas.style.height = canvas.height * scale + "px";
    document.body.classList.toggle("quib-actual", actualSize);
    scaleButton.textContent = actualSize ? "Adatta" : "100 %";
  }
  scaleButton.addEventListener("click", function () {
    actualSize = !actualSize;
    layout();
  });
  window.addEventListener("resize", layout);
  layout();

  // The first frame loads first; the other pictures follow a few at a time in the order they are
  // shown (a frame reached before its pictures asks for them at once).
  var queue = [];
  timeline.cursors.forEach(function (file) { queue.push(file); });
  frames.forEach(function (frame) {
    (frame.pictures || []).forEach(function (picture) { queue.push(picture[0]); });
    if (frame.mark)
      queue.push(frame.mark);
  });
  var everything = [];
  function pump() {
    while (queue.length > 0) {
      var file = queue.shift();
      if (!loading[file]) {
        var loaded = load(file).then(draw, function () {});
        everything.push(loaded);
        loaded.then(pump);
        return;
      }
    }
  }
  var ready = Promise.all(filesOf(picturesFor(0)).map(load)).then(function () {
    enter(0, "hold");
    draw();
    for (var lane = 0; lane < 4; lane++)
      pump();
    return performance.now();
  });
  var settled = ready.catch(function () {}).then(function wait() {
    var count = everything.length;
    return Promise.all(everything).then(function () {
      return queue.length === 0 && everything.length === count ? undefined : wait();
    });
  });

  var manualClock = false;
  var then = null;
  function run(now) {
    if (manualClock)
      return;
    if (then !== null && state.phase !== "waiting")
      advance(Math.min(now - then, 1000));
    then = now;
    window.requestAnimationFrame(run);
  }
  ready.then(function () { window.requestAnimationFrame(run); });

  // For tests and embedding pages: the state, and a clock that moves only when told. ready gives
  // the time the first frame was drawn (milliseconds since the page was opened).
  window.QuibPlayer = {
    ready: ready,
    loaded: settled,
    useManualClock: function () { manualClock = true; },
    advance: function (ms) { advance(ms); },
    goTo: goTo,
    state: function () {
      return { frame: state.frame, shown: shownFrame(), phase: state.phase, cursor: cursorPosition() };
    }
  };
})();
