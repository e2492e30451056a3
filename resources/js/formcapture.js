// Runs in the application world of every frame (page scripts cannot see it) and reports each form
// submission of the document to Korvalt: the form's method, its target address and its entry list
// in application/x-www-form-urlencoded form, which is the body a posting form sends. The top frame
// reports through the web channel; a frame has no channel and posts its reports to the top frame
// (a page could forge such a message, but only for a navigation that really happens, and a page
// decides what its own forms send anyway).
//
// The formdata event fires for every submission (submit button, Enter, the page's own
// form.submit()), and its formData is the exact entry list, the submit button included. A page
// script that builds a FormData from a form fires it too; Korvalt pairs each report with a real
// navigation and ignores the rest.
(function () {
    'use strict';

    var bridge = null;
    var waiting = [];
    var submitters = new WeakMap();

    // Read through the prototype: a form control named "action" or "method" shadows the property.
    var formAction = Object.getOwnPropertyDescriptor(HTMLFormElement.prototype, 'action').get;
    var formMethod = Object.getOwnPropertyDescriptor(HTMLFormElement.prototype, 'method').get;

    function deliver(report) {
        bridge.formSubmitted(report.method, report.action, report.body);
    }

    // Only the top frame has the channel; a frame hands its reports up to the top frame.
    var isTop = window === window.top;
    function report(entry) {
        if (!isTop)
            window.top.postMessage({ korvaltFormCapture: entry }, '*');
        else if (bridge)
            deliver(entry);
        else
            waiting.push(entry);
    }

    if (isTop && typeof qt !== 'undefined' && qt.webChannelTransport) {
        new QWebChannel(qt.webChannelTransport, function (channel) {
            bridge = channel.objects.korvaltFormCapture;
            waiting.splice(0).forEach(deliver);
        });
        window.addEventListener('message', function (event) {
            var entry = event.data && event.data.korvaltFormCapture;
            if (event.source === window || !entry || typeof entry.method !== 'string'
                || typeof entry.action !== 'string' || typeof entry.body !== 'string')
                return;
            report({ method: entry.method, action: entry.action, body: entry.body });
        }, true);
    }

    // Form submission sends every line break as CR LF.
    function lineBreaks(text) {
        return text.replace(/\r\n|\r|\n/g, '\r\n');
    }

    // The submit event (absent for form.submit()) is the only one that names the button, whose
    // formaction and formmethod override the form's.
    window.addEventListener('submit', function (event) {
        submitters.set(event.target, event.submitter || null);
    }, true);

    window.addEventListener('formdata', function (event) {
        var form = event.target;
        var submitter = submitters.get(form) || null;
        submitters.delete(form);
        var method = formMethod.call(form);
        var action = formAction.call(form);
        if (submitter) {
            if (submitter.hasAttribute('formmethod'))
                method = submitter.formMethod;
            if (submitter.hasAttribute('formaction'))
                action = submitter.formAction;
        }
        if (method === 'dialog')
            return;
        var params = new URLSearchParams();
        for (var entry of event.formData) {
            var value = typeof entry[1] === 'string' ? entry[1] : entry[1].name;
            params.append(lineBreaks(entry[0]), lineBreaks(value));
        }
        report({ method: method, action: action, body: params.toString() });
    }, true);
})();
