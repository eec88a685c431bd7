<?php
// Prepended to a script by the test runner: holds it, its request read, until the
// test lets every waiting script go at once (the test holds the gate's lock).
(function () {
    $gate = fopen(getenv('TRESSEL_GATE'), 'r');
    touch(getenv('TRESSEL_GATE') . '-' . getmypid());
    flock($gate, LOCK_SH);
    fclose($gate);
})();
